// Finding suppliers: the search box with its four buttons and the letter strip.
#include "app/ui/Dialogs.h"
#include "core/ErrorSink.h"
#include "core/WaitCursor.h"
#include "data/Values.h"
#include "data/widgets/UpperCaseTyping.h"
#include "registry/TfrmFornecedor.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace cad {

namespace {

// The letter labels' names follow the order they were made in, not the alphabet.
QString letterLabelName(QChar letter)
{
    static const int numbers[26] = {4,  3,  2,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                    15, 16, 17, 27, 18, 19, 20, 21, 22, 23, 24, 25, 26};
    return QStringLiteral("RxLabel%1").arg(numbers[letter.unicode() - 'A']);
}

// Blanks and control characters at both ends go.
QString trimmedPattern(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b].unicode() <= ' ')
        ++b;
    while (e > b && text[e - 1].unicode() <= ' ')
        --e;
    return text.mid(b, e - b) + QLatin1Char('%');
}

} // namespace

QWidget* TfrmFornecedor::buildSearchArea()
{
    auto* box = new QGroupBox(QStringLiteral("Digite os Dados para a Consulta:"), this);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(6, 2, 6, 4);
    v->setSpacing(2);
    auto* strip = new QHBoxLayout;
    strip->setSpacing(0);
    for (char c = 'A'; c <= 'Z'; ++c) {
        const QChar letter = QLatin1Char(c);
        auto* l = new QToolButton(box);
        l->setObjectName(letterLabelName(letter));
        l->setText(letter);
        l->setAutoRaise(true);
        l->setFocusPolicy(Qt::NoFocus);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        connect(l, &QToolButton::clicked, this, [this, letter] { guarded([&] { searchByLetter(letter); }); });
        strip->addWidget(l);
    }
    strip->addStretch(1);
    v->addLayout(strip);

    auto* h = new QHBoxLayout;
    m_search = new QLineEdit(box);
    m_search->setObjectName(QStringLiteral("edtPesquisa"));
    QFont big = m_search->font();
    big.setPointSize(14);
    m_search->setFont(big);
    m_search->setFixedWidth(590);
    raiseLettersAsTyped(m_search);
    h->addWidget(m_search);
    const struct
    {
        const char* name;
        const char* caption;
        const char* hint;
        void (TfrmFornecedor::*handler)();
    } buttons[] = {
        {"SpeedButton4", "&Codigo", "Localizar Cliente Por Codigo", &TfrmFornecedor::SpeedButton4Click},
        {"SpeedButton1", "&Razão Social", "", &TfrmFornecedor::SpeedButton1Click},
        {"TSpeedButton", "&Nome Fantasia", "", &TfrmFornecedor::TSpeedButtonClick},
        {"TSpeedButton11", "Por Cnp&j", "", &TfrmFornecedor::TSpeedButton11Click},
    };
    for (const auto& b : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), box);
        button->setObjectName(QLatin1String(b.name));
        button->setToolTip(QString::fromUtf8(b.hint));
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumHeight(m_search->sizeHint().height());
        const auto handler = b.handler;
        connect(button, &QPushButton::clicked, this,
                [this, handler] { guarded([&] { (this->*handler)(); }); });
        h->addWidget(button);
    }
    h->addStretch(1);
    v->addLayout(h);
    return box;
}

void TfrmFornecedor::openSupplierSet(const QString& sql, const QString& pattern)
{
    waitcursor::Guard wait;
    tbFornecedor.close(); // a pending insert or edit is discarded
    tbFornecedor.setSql(sql);
    // Mapped as stored texts are: a character the single-byte columns cannot hold finds nothing
    // instead of failing on the server.
    tbFornecedor.setParam(QStringLiteral("pattern"), values::toSingleByteRange(pattern));
    tbFornecedor.open();
}

void TfrmFornecedor::searchButton(const QString& head, const QString& tail, const QString& notFound,
                                  const QString& empty)
{
    setTab(QStringLiteral("Listagem"));
    // The pattern travels as a bound value; "%" and "_" typed by the operator stay wildcards.
    openSupplierSet(head + QStringLiteral(":pattern") + tail, trimmedPattern(m_search->text()));
    if (tbFornecedor.isEmpty()) {
        dialogs::attention(notFound);
        m_search->setFocus();
        return;
    }
    if (m_search->text().isEmpty()) {
        dialogs::attention(empty);
        m_search->setFocus();
        return;
    }
    openPurchaseHistory();
}

void TfrmFornecedor::SpeedButton4Click()
{
    searchButton(QStringLiteral("SELECT * FROM fornecedor WHERE codigofornecedor LIKE("),
                 QStringLiteral(") ORDER BY CodigoFornecedor"),
                 QStringLiteral("Codigo do Fornecedor não Encontrado!!!"),
                 QStringLiteral("Codigo do Fornecedor em Branco !!!"));
}

void TfrmFornecedor::SpeedButton1Click()
{
    searchButton(QStringLiteral("SELECT * FROM fornecedor WHERE Nome LIKE("),
                 QStringLiteral(") ORDER BY Nome"),
                 QStringLiteral("Razão Social do Fornecedor não Encontrado!!!"),
                 QStringLiteral("Razão Social do Fornecedor em Branco !!!"));
}

void TfrmFornecedor::TSpeedButtonClick()
{
    searchButton(QStringLiteral("SELECT * FROM fornecedor WHERE Nomefan LIKE("),
                 QStringLiteral(") ORDER BY Nomefan"), QStringLiteral("Nome do Fantasia não Encontrado!!!"),
                 QStringLiteral("Nome Fanatasia do Fornecedor em Branco !!!"));
}

void TfrmFornecedor::TSpeedButton11Click()
{
    searchButton(QStringLiteral("SELECT * FROM fornecedor WHERE Cgccpf LIKE("),
                 QStringLiteral(") ORDER BY Cgccpf"), QStringLiteral("Cnpf do Fornecedor não Encontrado!!!"),
                 QStringLiteral("Cnpj do Fornecedor em Branco !!!"));
}

void TfrmFornecedor::searchByLetter(QChar letter)
{
    m_search->setText(letter);
    setTab(QStringLiteral("Listagem"));
    openSupplierSet(QStringLiteral("SELECT * FROM Fornecedor WHERE NOME LIKE(:pattern) ORDER BY NOME"),
                    QString(letter) + QLatin1Char('%'));
}

} // namespace cad
