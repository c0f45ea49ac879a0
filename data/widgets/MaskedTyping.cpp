#include "data/widgets/MaskedTyping.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace cad {

namespace {

// Which positions of the shown text a mask lets the operator fill (the rest are separators),
// following the input-mask syntax of QLineEdit.
QList<bool> editablePositions(const QString& mask)
{
    static const QString fillable = QStringLiteral("AaNnXx9D0dHhBb#");
    static const QString noPosition = QStringLiteral("<>!{}[]");
    QList<bool> out;
    bool escaped = false;
    for (QChar c : mask) {
        if (escaped) {
            out << false;
            escaped = false;
        } else if (c == QLatin1Char('\\')) {
            escaped = true;
        } else if (!noPosition.contains(c)) {
            out << fillable.contains(c);
        }
    }
    return out;
}

class FirstBlankTyping : public QObject
{
public:
    explicit FirstBlankTyping(QLineEdit* edit) : QObject(edit), m_edit(edit)
    {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::FocusIn: {
            // The field places its cursor first (after the mask's last position when its text
            // was set empty; on the first position for Tab); then typing is sent to the blank.
            static_cast<QObject*>(m_edit)->event(e);
            const auto reason = static_cast<QFocusEvent*>(e)->reason();
            const bool operatorPlaced = reason == Qt::MouseFocusReason ||
                                        reason == Qt::ActiveWindowFocusReason ||
                                        reason == Qt::PopupFocusReason;
            moveToBlank(!operatorPlaced);
            return true;
        }
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // A click within the typed text keeps its place; past it, typing would be refused.
            if (!m_edit->hasSelectedText()) moveToBlank(false);
            return false;
        default:
            return false;
        }
    }

private:
    void moveToBlank(bool always)
    {
        const int blank = firstBlankPosition(m_edit);
        if (blank < 0) return;
        if (always || m_edit->cursorPosition() > blank) m_edit->setCursorPosition(blank);
    }

    QLineEdit* m_edit;
};

} // namespace

int firstBlankPosition(const QLineEdit* edit)
{
    // As the field reads its mask: the character after the first ';' stands for an empty
    // position (a blank when there is none).
    const QString mask = edit->inputMask();
    if (mask.isEmpty()) return -1;
    const qsizetype semicolon = mask.indexOf(QLatin1Char(';'));
    const QChar blank =
        semicolon >= 0 && semicolon + 1 < mask.size() ? mask.at(semicolon + 1) : QLatin1Char(' ');
    const QList<bool> editable = editablePositions(mask.left(semicolon));
    const QString shown = edit->displayText();
    for (qsizetype i = 0; i < editable.size() && i < shown.size(); ++i)
        if (editable[i] && shown[i] == blank) return int(i);
    return -1;
}

void typeFromFirstBlank(QLineEdit* edit)
{
    new FirstBlankTyping(edit);
}

} // namespace cad
