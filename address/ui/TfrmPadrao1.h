#pragma once
#include <QDialog>

class QLabel;
class QVBoxLayout;

namespace cad {

/// Base of the program's own dialogs: no system frame, a navy border, and a caption bar with the
/// title that moves the window when dragged with the left button.
class TfrmPadrao1 : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPadrao1(const QString& title, QWidget* parent = nullptr);

    [[nodiscard]] QLabel* captionBar() const { return m_caption; }

protected:
    /// Where subclasses put their content, under the caption bar.
    [[nodiscard]] QVBoxLayout* body() const { return m_body; }
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QLabel* m_caption;
    QVBoxLayout* m_body;
    bool m_centred = false;
};

} // namespace cad
