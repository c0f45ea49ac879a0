#pragma once
#include <QImage>

#include <functional>

class QImageReader;
class QLabel;
class QLineEdit;
class QWidget;

/// What the two federal look-up dialogs do alike with their captcha.
namespace cad::captcha {

/// Letters typed into FIELD become capitals as they are typed.
void setUp(QLineEdit* field);

/// False, after the message "É necessário digitar o captcha." and with the focus in FIELD, when FIELD
/// holds nothing but blanks: the services trim what is typed, so blanks would only spend the image.
[[nodiscard]] bool typed(QLineEdit* field);

/// "Atualizar Captcha" (`LabAtualizarCaptcha`): an underlined caption, clicked like a link, that runs
/// ONCLICK when the left button is released over it; it takes no focus.
[[nodiscard]] QLabel* refreshCaption(std::function<void()> onClick, QWidget* parent);

/// The image READER decodes; an error in Portuguese, with the decoder's reason, when it cannot.
[[nodiscard]] QImage read(QImageReader& reader);

} // namespace cad::captcha
