#include "data/widgets/UpperCaseTyping.h"

#include <QLineEdit>

namespace cad {

void raiseLettersAsTyped(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& typed) {
        const QString upper = typed.toUpper();
        if (upper == typed) return;
        const int pos = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(pos);
    });
}

} // namespace cad
