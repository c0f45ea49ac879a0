// A minimal program under the single-instance rule, started twice by test_singleinstance.
// A first copy prints "ready", shows a minimised window and prints "restored" when another copy
// brings it forward; a second copy ends at once, silently, with code 0.
#include "app/ui/SingleInstance.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>

namespace {

class ProbeWindow : public QWidget
{
protected:
    void changeEvent(QEvent* e) override
    {
        QWidget::changeEvent(e);
        if (e->type() == QEvent::WindowStateChange && !isMinimized()) {
            std::printf("restored\n");
            std::fflush(stdout);
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    cad::SingleInstance instance(QCoreApplication::applicationFilePath());
    if (instance.alreadyRunning()) return 0;
    ProbeWindow window;
    window.setWindowTitle(QStringLiteral("Cadastro de Fornecedor"));
    instance.setWindow(&window);
    window.showMinimized();
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
