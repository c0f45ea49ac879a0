#pragma once
#include "data/widgets/FieldLink.h"

#include <QLineEdit>

namespace cad {

/// Line edit bound to a field, with letter-case conversion and a display format for numbers.
class DbLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    enum class CharCase
    {
        Normal,
        Upper,
        Lower
    };
    enum class Format
    {
        Plain,
        TwoDecimals
    };

    explicit DbLineEdit(QWidget* parent = nullptr);
    void bind(RecordSet* set, const QString& field);
    void setCharCase(CharCase c) { m_case = c; }
    void setDisplayFormat(Format f) { m_format = f; }
    /// Turns the typed text into the value written (a postal code that does not fit, say).
    void setWriteFilter(std::function<QString(const QString&)> filter) { m_filter = std::move(filter); }
    /// Shown only, never typed (filled by look-ups).
    void setDisplayOnly(bool on) { m_link.setDisplayOnly(on); }
    [[nodiscard]] FieldLink& link() { return m_link; }
    /// Takes a typed value not yet written (an incomplete number) into the record; reports it
    /// when it does not convert, and then returns false.
    bool commitPending();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void onEdited(const QString& text);
    void show(const QVariant& v);

    FieldLink m_link;
    CharCase m_case = CharCase::Normal;
    Format m_format = Format::Plain;
    std::function<QString(const QString&)> m_filter;
    bool m_pending = false; // typed text not yet taken (an incomplete number)
};

} // namespace cad
