#pragma once
#include <QApplication>

namespace cad {

/// The application: a failure that reaches the event loop is shown by the general error display
/// and the program goes on waiting for the operator.
class CadApplication : public QApplication
{
    Q_OBJECT
public:
    CadApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace cad
