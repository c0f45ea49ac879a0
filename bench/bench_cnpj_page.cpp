// cnpj-page: reading a CNPJ certificate page whose secondary activities fill it (the answer's text
// as the HTTP client hands it over), at 1/4, 1/2 and 1 MiB. Linear reading shows as times that
// double with the size (target: 1 MiB in under 1 s on the screen's thread).
#include "bench/Bench.h"
#include "taxpayer/CadConsultaCNPJ.h"

#include <QElapsedTimer>
#include <cstdio>

using namespace cad;

namespace {

// A page in the service's layout: label cells, value cells, then the activities, one per cell.
QString certificatePage(qsizetype bytes)
{
    QString page = QStringLiteral("<html><body><table>\r\n");
    const auto field = [&page](const QString& label, const QString& value) {
        page += QStringLiteral("<tr><td><font>%1</font></td></tr>\r\n<tr><td><b>%2</b></td></tr>\r\n")
                    .arg(label, value);
    };
    field(QStringLiteral("NÚMERO DE INSCRIÇÃO"), QStringLiteral("11.222.333/0001-81"));
    field(QStringLiteral("11.222.333/0001-81"), QStringLiteral("MATRIZ"));
    field(QStringLiteral("NOME EMPRESARIAL"), QStringLiteral("COMERCIO DE ALIMENTOS LTDA"));
    field(QStringLiteral("CÓDIGO E DESCRIÇÃO DA ATIVIDADE ECONÔMICA PRINCIPAL"),
          QStringLiteral("47.11-3-02 - Comércio varejista de mercadorias em geral"));
    page += QStringLiteral("<tr><td>CÓDIGO E DESCRIÇÃO DAS ATIVIDADES ECONÔMICAS SECUNDÁRIAS</td></tr>\r\n");
    for (int i = 0; page.size() < bytes; ++i)
        page += QStringLiteral(
                    "<tr><td><b>%1.%2-0-01 - Atividade secundária número %3 da empresa</b></td></tr>\r\n")
                    .arg(10 + i % 89)
                    .arg(i % 97, 2, 10, QLatin1Char('0'))
                    .arg(i);
    page += QStringLiteral("<tr><td>&nbsp;</td></tr>\r\n");
    field(QStringLiteral("LOGRADOURO"), QStringLiteral("RUA DAS FLORES"));
    page += QStringLiteral("</table></body></html>\r\n");
    return page;
}

} // namespace

CAD_BENCH(cnpjPage, "cnpj-page")
{
    const int rounds = args.value(0, QStringLiteral("3")).toInt();
    double previous = 0;
    for (const qsizetype kib : {256, 512, 1024}) {
        const QString page = certificatePage(kib * 1024);
        double best = 1e300;
        qsizetype activities = 0;
        for (int r = 0; r < rounds; ++r) {
            TCadConsultaCNPJ cnpj(QStringLiteral("/nonexistent/CadConsultaCNPJServicos.ini"));
            QElapsedTimer timer;
            timer.start();
            cnpj.ReadPage(page, true);
            best = std::min(best, timer.nsecsElapsed() / 1e6);
            activities = cnpj.CNAE2().size();
        }
        std::printf("cnpj-page %5lld KiB, %6lld secondary activities: %8.1f ms (best of %d)%s\n",
                    static_cast<long long>(kib), static_cast<long long>(activities), best, rounds,
                    previous > 0
                        ? qPrintable(QStringLiteral(", %1x the half size").arg(best / previous, 0, 'f', 2))
                        : "");
        previous = best;
    }
    return 0;
}
