#include "app/ui/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace cad::dialogs {

namespace {

std::function<Answer(const Request&)>& responder()
{
    static std::function<Answer(const Request&)> r;
    return r;
}

QMessageBox::Icon toQt(Icon i)
{
    switch (i) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Error:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QString appTitle()
{
    return QStringLiteral("Cadastro de Fornecedor");
}

Answer show(const Request& r)
{
    if (responder()) return responder()(r);
    QMessageBox box(toQt(r.icon), r.title, r.text, QMessageBox::NoButton, QApplication::activeWindow());
    if (r.buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(r.defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Não"));
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (r.buttons == Buttons::Ok) return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void setResponder(std::function<Answer(const Request&)> r)
{
    responder() = std::move(r);
}

void information(const QString& text)
{
    show({appTitle(), text, Icon::None, Buttons::Ok, Answer::Ok});
}

void attention(const QString& text)
{
    show({QStringLiteral("Atenção"), text, Icon::Warning, Buttons::Ok, Answer::Ok});
}

bool ask(const QString& title, const QString& text, Answer defaultAnswer)
{
    return show({title, text, Icon::Question, Buttons::YesNo, defaultAnswer}) == Answer::Yes;
}

} // namespace cad::dialogs
