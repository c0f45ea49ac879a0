#include "tests/registry/ScreenFixture.h"

#include "app/ui/ErrorDisplay.h"
#include "registry/PendingCopies.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace testsupport {

ScreenFixture::ScreenFixture(const QString& prefix)
    : m_localDb(Role::Local, prefix, true), m_centralDb(Role::Central, prefix + QStringLiteral("c")),
      m_dir(QDir::temp().filePath(m_localDb.name()))
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QStandardPaths::setTestModeEnabled(true); // lists of pending copies away from the user's own
    QDir().mkpath(m_dir);
    writeAdminIni(m_dir, m_localDb.name(), m_centralDb.name());
    cad::errordisplay::install();
    cad::dialogs::setResponder([this](const cad::dialogs::Request& r) {
        m_messages << r;
        if (r.buttons == cad::dialogs::Buttons::Ok) return cad::dialogs::Answer::Ok;
        if (m_answers.empty()) return r.defaultAnswer;
        const auto a = m_answers.front();
        m_answers.pop_front();
        return a;
    });
}

ScreenFixture::~ScreenFixture()
{
    cad::dialogs::setResponder({});
    const QString pending = m_form ? m_form->pendingCopies().path() : QString();
    m_form.reset();
    if (!pending.isEmpty()) QFile::remove(pending);
    m_dm.reset();
    QDir(m_dir).removeRecursively();
}

cad::TfrmFornecedor& ScreenFixture::openScreen(const QString& operatorName,
                                               const std::function<void(cad::TfrmFornecedor&)>& show)
{
    m_form.reset();
    m_dm = std::make_unique<cad::TDM>();
    m_dm->DataModuleCreate(m_dir);
    m_form = std::make_unique<cad::TfrmFornecedor>(*m_dm, operatorName);
    m_form->FormCreate();
    if (show) {
        show(*m_form);
    } else {
        m_form->resize(1366, 768);
        m_form->show();
    }
    QApplication::setActiveWindow(m_form.get());
    return *m_form;
}

QList<cad::dialogs::Request> ScreenFixture::takeMessages()
{
    QList<cad::dialogs::Request> out;
    out.swap(m_messages);
    return out;
}

} // namespace testsupport
