// Admin.ini as the program reads it: defaults, whole-number ports and minutes, names matched without case,
// the LOJA section read and never used, passwords from SENHA.
#include "app/AdminIni.h"

#include <QTemporaryDir>
#include <QtTest>

using cad::AdminIni;

class AdminIniTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString write(const QByteArray& content)
    {
        const QString path = m_dir.filePath(QStringLiteral("Admin.ini"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private Q_SLOTS:
    void missingFileGivesDefaults()
    {
        const QString path = m_dir.filePath(QStringLiteral("absent/Admin.ini"));
        const AdminIni ini = AdminIni::read(path);
        for (const cad::ServerSection* s : {&ini.local, &ini.loja, &ini.gerencia}) {
            QCOMPARE(s->porta, 0);
            QVERIFY(s->servidor.isEmpty());
            QVERIFY(s->banco.isEmpty());
            QVERIFY(s->senha.isEmpty());
        }
        QVERIFY(!QFile::exists(path)); // reading never creates the file
    }

    void port_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("port");
        QTest::newRow("number") << QByteArray("3307") << 3307;
        QTest::newRow("blanks around") << QByteArray("  3307  ") << 3307;
        QTest::newRow("letters") << QByteArray("abc") << 0;
        QTest::newRow("digits then letters") << QByteArray("33o7") << 0;
        QTest::newRow("decimal") << QByteArray("3307.5") << 0;
        QTest::newRow("empty") << QByteArray("") << 0;
        QTest::newRow("too large") << QByteArray("99999999999") << 0;
    }
    void port()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, port);
        const AdminIni ini =
            AdminIni::read(write("[LOCAL]\nPORTA=" + value + "\n[GERENCIA]\nPORTA=" + value + "\n"));
        QCOMPARE(ini.local.porta, port);
        QCOMPARE(ini.gerencia.porta, port);
    }

    void retryMinutes_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("minutes");
        QTest::newRow("absent") << QByteArray() << AdminIni::kDefaultRetryMinutes;
        QTest::newRow("set") << QByteArray("reenvioMinutos = 12") << 12;
        QTest::newRow("off") << QByteArray("REENVIOMINUTOS=0") << 0;
        QTest::newRow("negative") << QByteArray("REENVIOMINUTOS=-3") << AdminIni::kDefaultRetryMinutes;
        QTest::newRow("not a whole number")
            << QByteArray("REENVIOMINUTOS=2,5") << AdminIni::kDefaultRetryMinutes;
    }
    void retryMinutes()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, minutes);
        QCOMPARE(AdminIni::read(write("[GERENCIA]\nPORTA=3307\n" + line + "\n")).retryMinutes, minutes);
    }

    void namesMatchedWithoutCase_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("upper") << QByteArray("[LOCAL]\nPORTA=3310\nSERVIDOR=loja.example\nBANCO=loja\n");
        QTest::newRow("lower") << QByteArray("[local]\nporta=3310\nservidor=loja.example\nbanco=loja\n");
        QTest::newRow("mixed") << QByteArray("[Local]\nPorta=3310\nServidor=loja.example\nbAnCo=loja\n");
        QTest::newRow("blanks and CRLF")
            << QByteArray("  [ Local ]  \r\n  PORTA = 3310 \r\nSERVIDOR =  loja.example  \r\nBANCO=loja\r\n");
        QTest::newRow("other sections and keys around")
            << QByteArray("[OUTRA]\nPORTA=1\n[LOCAL]\nUSUARIO=x\nPORTA=3310\nSERVIDOR=loja.example\n; nota\n"
                          "BANCO=loja\n[FIM]\nBANCO=z\n");
    }
    void namesMatchedWithoutCase()
    {
        QFETCH(QByteArray, content);
        const AdminIni ini = AdminIni::read(write(content));
        QCOMPARE(ini.local.porta, 3310);
        QCOMPARE(ini.local.servidor, QStringLiteral("loja.example"));
        QCOMPARE(ini.local.banco, QStringLiteral("loja"));
        QCOMPARE(ini.gerencia.porta, 0);
        QVERIFY(ini.gerencia.servidor.isEmpty());
    }

    // LOJA is read and used for nothing: the sections the connections use come out the same
    // wherever it stands and whatever it holds.
    void lojaChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("loja");
        QTest::addColumn<bool>("first");
        QTest::newRow("before LOCAL")
            << QByteArray("[LOJA]\nPORTA=1\nSERVIDOR=outra\nBANCO=outro\nSENHA=s\n") << true;
        QTest::newRow("between") << QByteArray("[loja]\nporta=abc\nservidor=\nbanco=x\n") << false;
    }
    void lojaChangesNothing()
    {
        QFETCH(QByteArray, loja);
        QFETCH(bool, first);
        const QByteArray local("[LOCAL]\nPORTA=3310\nSERVIDOR=10.0.0.1\nBANCO=loja\nSENHA=pl\n");
        const QByteArray central("[GERENCIA]\nPORTA=3320\nSERVIDOR=10.0.0.2\nBANCO=rede\nSENHA=pc\n");
        const AdminIni without = AdminIni::read(write(local + central));
        const AdminIni with = AdminIni::read(write(first ? loja + local + central : local + loja + central));
        for (auto [a, b] :
             {std::pair{&without.local, &with.local}, std::pair{&without.gerencia, &with.gerencia}}) {
            QCOMPARE(b->porta, a->porta);
            QCOMPARE(b->servidor, a->servidor);
            QCOMPARE(b->banco, a->banco);
            QCOMPARE(b->senha, a->senha);
        }
        QCOMPARE(with.local.porta, 3310);
        QCOMPARE(with.gerencia.servidor, QStringLiteral("10.0.0.2"));
    }

    void passwordsFromSenha()
    {
        const AdminIni ini =
            AdminIni::read(write("[LOCAL]\nSENHA= a b=c \n[GERENCIA]\nsenha=Xy7;#\n[LOJA]\nSENHA=nunca\n"));
        QCOMPARE(ini.local.senha, QStringLiteral("a b=c")); // the first "=" separates the key
        QCOMPARE(ini.gerencia.senha, QStringLiteral("Xy7;#"));
        const AdminIni none = AdminIni::read(write("[LOCAL]\nPORTA=1\n"));
        QVERIFY(none.local.senha.isEmpty());
        QVERIFY(none.gerencia.senha.isEmpty());
        // A SENHA line, even an empty one, is told apart from none at all (files of older versions).
        QVERIFY(ini.local.hasSenha && ini.gerencia.hasSenha);
        QVERIFY(AdminIni::read(write("[LOCAL]\nSENHA=\n")).local.hasSenha);
        QVERIFY(!none.local.hasSenha && !none.gerencia.hasSenha);
        QVERIFY(none.found);
        QVERIFY(!AdminIni::read(m_dir.filePath(QStringLiteral("absent/Admin.ini"))).found);
    }

    void serverWaitPerSection_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("seconds");
        QTest::newRow("absent") << QByteArray() << 60;
        QTest::newRow("seconds") << QByteArray("TEMPOESPERA= 15 \n") << 15;
        QTest::newRow("no limit") << QByteArray("tempoespera=0\n") << 0;
        QTest::newRow("not a number") << QByteArray("TEMPOESPERA=15s\n") << 60;
    }
    void serverWaitPerSection()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, seconds);
        const AdminIni ini = AdminIni::read(write("[LOCAL]\nPORTA=1\n" + value + "[GERENCIA]\nPORTA=2\n"));
        QCOMPARE(ini.local.tempoEspera, seconds);
        QCOMPARE(ini.gerencia.tempoEspera, 60);
    }

    void accentedValues_data()
    {
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("UTF-8") << QByteArray("S\xC3\xA3o Jos\xC3\xA9");
        QTest::newRow("Windows-1252") << QByteArray("S\xE3o Jos\xE9");
    }
    void accentedValues()
    {
        QFETCH(QByteArray, encoded);
        const AdminIni ini = AdminIni::read(write("[LOCAL]\nBANCO=" + encoded + "\n"));
        QCOMPARE(ini.local.banco, QStringLiteral("São José"));
    }

    // Notepad saves UTF-8 with a byte-order mark; the first section must still be found.
    void byteOrderMark()
    {
        const AdminIni ini = AdminIni::read(write("\xEF\xBB\xBF[LOCAL]\nPORTA=3310\n"));
        QCOMPARE(ini.local.porta, 3310);
    }
};

QTEST_MAIN(AdminIniTest)
#include "tst_adminini.moc"
