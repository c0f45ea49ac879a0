#include "app/ui/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

namespace cad::dialogs {

namespace {

std::function<Answer(const Request&)>& responder()
{
    static std::function<Answer(const Request&)> r;
    return r;
}

std::function<QString(const SaveRequest&)>& saveResponder()
{
    static std::function<QString(const SaveRequest&)> r;
    return r;
}

std::function<bool(QPrinter&, int)>& printResponder()
{
    static std::function<bool(QPrinter&, int)> r;
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

QString saveFileName(const SaveRequest& r)
{
    if (saveResponder()) return saveResponder()(r);
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), r.title, r.suggestedName, r.filter);
}

void setSaveResponder(std::function<QString(const SaveRequest&)> responder)
{
    saveResponder() = std::move(responder);
}

bool choosePrinter(QPrinter& printer, int pageCount)
{
    if (printResponder()) return printResponder()(printer, pageCount);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setMinMax(1, pageCount);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage |
                      QAbstractPrintDialog::PrintToFile);
    return dialog.exec() == QDialog::Accepted;
}

void setPrintResponder(std::function<bool(QPrinter&, int)> responder)
{
    printResponder() = std::move(responder);
}

} // namespace cad::dialogs
