// The central copies still owed by the supplier screen: kept, retried in the background, shown.
#include "app/DataModule.h"
#include "app/ui/Dialogs.h"
#include "registry/CentralRetry.h"
#include "registry/CentralSync.h"
#include "registry/PendingCopies.h"
#include "registry/PendingCopiesBar.h"
#include "registry/TfrmFornecedor.h"

namespace cad {

void TfrmFornecedor::setupPendingCopies()
{
    m_pending = std::make_unique<PendingCopies>(PendingCopies::defaultPath(m_dm.MyConnection1.settings()));
    // A retry may run while the municipality list is narrowed to another state than the
    // supplier's: the name then comes from the whole table, as the list holds it at start-up.
    auto cityName = [this](const QVariant& code) {
        QString name = cityNameFor(code);
        if (!name.isEmpty() || code.isNull()) return name;
        const QueryResult r = m_dm.MyConnection1.query(
            QStringLiteral("SELECT Ucase(nome) FROM Municipios_Ibge WHERE codigo = ?"), {code});
        return r.rows.size() > 0 ? QString::fromUtf8(r.rows.cell(0, 0).bytes.data(),
                                                     qsizetype(r.rows.cell(0, 0).bytes.size()))
                                 : QString();
    };
    m_retry = std::make_unique<CentralRetry>(m_dm, *m_pending, cityName);
    m_retry->watch(*m_central);
    connect(m_retry.get(), &CentralRetry::listNotWritten, this, [](const QString& why) {
        dialogs::attention(
            QStringLiteral("Não foi possível gravar a lista de cópias pendentes para a central "
                           "(%1). As cópias pendentes continuam sendo tentadas enquanto o "
                           "programa estiver aberto, mas serão perdidas se ele for fechado.")
                .arg(why));
    });
    // At the right end of the command area, where no command bar ever reaches.
    m_pendingBar = new PendingCopiesBar(*m_pending, *m_retry, m_commandArea);
    m_commandArea->installEventFilter(this);
    connect(m_pending.get(), &PendingCopies::changed, this, [this] { placePendingCopiesBar(); });
    placePendingCopiesBar();
}

void TfrmFornecedor::placePendingCopiesBar()
{
    m_pendingBar->adjustSize();
    m_pendingBar->move(m_commandArea->width() - m_pendingBar->width(),
                       (m_commandArea->height() - m_pendingBar->height()) / 2);
}

} // namespace cad
