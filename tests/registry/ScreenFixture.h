#pragma once
// The real supplier screen over fresh local and central test databases, with every message box
// answered by the test and recorded.
#include "app/DataModule.h"
#include "app/ui/Dialogs.h"
#include "registry/TfrmFornecedor.h"
#include "tests/support/TestDb.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

namespace testsupport {

class ScreenFixture
{
public:
    /// Creates databases named after PREFIX (reference data included) and an Admin.ini for them.
    explicit ScreenFixture(const QString& prefix);
    ~ScreenFixture();

    /// A new data module and screen (FormCreate run, window shown at 1366x768, or by SHOW);
    /// replaces the previous ones.
    cad::TfrmFornecedor& openScreen(const QString& operatorName = QStringLiteral("MARIA"),
                                    const std::function<void(cad::TfrmFornecedor&)>& show = {});
    [[nodiscard]] cad::TfrmFornecedor& screen() { return *m_form; }
    [[nodiscard]] cad::TDM& dm() { return *m_dm; }

    /// SQL on the local or central test database; the first column of the last result.
    QStringList local(const QString& sql) { return m_localDb.sql(sql); }
    QStringList central(const QString& sql) { return m_centralDb.sql(sql); }

    /// Message boxes shown so far (title and text), oldest first; cleared by takeMessages().
    QList<cad::dialogs::Request> takeMessages();
    /// The answer to the next question (Yes/No); without one, questions get their default.
    void answerNext(cad::dialogs::Answer a) { m_answers.push_back(a); }

private:
    TestDatabase m_localDb, m_centralDb;
    QString m_dir;
    std::unique_ptr<cad::TDM> m_dm;
    std::unique_ptr<cad::TfrmFornecedor> m_form;
    QList<cad::dialogs::Request> m_messages;
    std::deque<cad::dialogs::Answer> m_answers;
};

} // namespace testsupport
