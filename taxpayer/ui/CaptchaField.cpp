#include "taxpayer/ui/CaptchaField.h"

#include "app/ui/Dialogs.h"
#include "data/widgets/UpperCaseTyping.h"

#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <stdexcept>

namespace cad::captcha {

namespace {

class ClickableCaption : public QLabel
{
public:
    ClickableCaption(const QString& text, std::function<void()> onClick, QWidget* parent)
        : QLabel(text, parent), m_onClick(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        QPalette p = palette();
        p.setColor(QPalette::WindowText, Qt::blue);
        setPalette(p);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) m_onClick();
    }

private:
    std::function<void()> m_onClick;
};

} // namespace

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

QLabel* refreshCaption(std::function<void()> onClick, QWidget* parent)
{
    auto* caption = new ClickableCaption(QStringLiteral("Atualizar Captcha"), std::move(onClick), parent);
    caption->setObjectName(QStringLiteral("LabAtualizarCaptcha"));
    return caption;
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
