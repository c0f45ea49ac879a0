#include "taxpayer/ui/CaptchaField.h"

#include "app/ui/Dialogs.h"
#include "data/widgets/UpperCaseTyping.h"

#include <QImageReader>
#include <QLineEdit>
#include <stdexcept>

namespace cad::captcha {

void setUp(QLineEdit* field)
{
    raiseLettersAsTyped(field);
}

bool typed(QLineEdit* field)
{
    if (!field->text().trimmed().isEmpty()) return true;
    dialogs::show({dialogs::appTitle(), QStringLiteral("É necessário digitar o captcha."),
                   dialogs::Icon::Information, dialogs::Buttons::Ok, dialogs::Answer::Ok});
    field->setFocus();
    return false;
}

QImage read(QImageReader& reader)
{
    const QImage image = reader.read();
    if (image.isNull())
        throw std::runtime_error(QStringLiteral("A imagem do captcha não pôde ser lida: %1")
                                     .arg(reader.errorString())
                                     .toStdString());
    return image;
}

} // namespace cad::captcha
