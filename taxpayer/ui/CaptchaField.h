#pragma once
#include <QImage>

class QImageReader;
class QLineEdit;

/// What the two federal look-up dialogs do alike with their captcha.
namespace cad::captcha {

/// Letters typed into FIELD become capitals as they are typed.
void setUp(QLineEdit* field);

/// False, after the message "É necessário digitar o captcha." and with the focus in FIELD, when FIELD
/// holds nothing but blanks: the services trim what is typed, so blanks would only spend the image.
[[nodiscard]] bool typed(QLineEdit* field);

/// The image READER decodes; an error in Portuguese, with the decoder's reason, when it cannot.
[[nodiscard]] QImage read(QImageReader& reader);

} // namespace cad::captcha
