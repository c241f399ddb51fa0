#include "storetestcase.h"
#include "userstore.h"

#include <QFile>
#include <QtTest>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

using TValueType = TUserStore::TValueType;

namespace {

// LastError() of a write to the store at path, made as the user nobody (in a child process
// when this one runs as root).
QString WriteErrorAsNobody(const QString &path)
{
    const auto write = [&path] {
        TUserStore store(path);
        return store.WriteText("Software\\T", "V", "new") ? QString() : store.LastError();
    };
    const passwd *nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody)
        return write();
    int channel[2];
    if (::pipe(channel) != 0)
        return "<no pipe>";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            ::_exit(2);
        const QByteArray error = write().toUtf8();
        const bool sent = ::write(channel[1], error.constData(), size_t(error.size())) == error.size();
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray error;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        error.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? QString::fromUtf8(error) : "<child failed>";
}

} // namespace

class TstUserStore : public TStoreTestCase
{
    Q_OBJECT

private slots:

    void defaultPathFollowsConfigHome()
    {
        QCOMPARE(TUserStore().FilePath(), Home() + "/velorand/registry.ini");
    }

    void everyByteOfATextReadsBackUnchanged()
    {
        QString all;
        for (int c = 1; c <= 255; ++c)
            all += QChar(c);
        TUserStore store;
        QVERIFY(store.WriteText("Software\\Test", "All", all));
        // Each character alone, so that leading and trailing blanks and escapes are exercised
        // at the edges of a text as well.
        for (int c = 1; c <= 255; ++c)
            QVERIFY(store.WriteText("Software\\Test", "C" + QString::number(c), QString(QChar(c))));

        TUserStore other;
        QCOMPARE(other.ReadText("Software\\Test", "All"), all);
        for (int c = 1; c <= 255; ++c)
            QCOMPARE(other.ReadText("Software\\Test", "C" + QString::number(c)), QString(QChar(c)));
    }

    void textsLookingLikeFileSyntaxStayTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("comma list") << "a, b";
        QTest::newRow("variant") << "@Variant(\\0)";
        QTest::newRow("blanks") << "  x  ";
        QTest::newRow("quotes") << "\"q\";#comment";
        QTest::newRow("section") << "[Software]\nH0=x";
    }
    void textsLookingLikeFileSyntaxStayTexts()
    {
        QFETCH(QString, text);
        QVERIFY(TUserStore().WriteText("Software\\T", "V", text));
        TUserStore store;
        QCOMPARE(store.ValueType("Software\\T", "V"), TValueType::Text);
        QCOMPARE(store.ReadText("Software\\T", "V"), text);
    }

    void textIsCutAtFirstZero()
    {
        TUserStore store;
        QVERIFY(store.WriteText("Software\\T", "V", QString("ab") + QChar(0) + "cd"));
        QCOMPARE(store.ReadText("Software\\T", "V"), QString("ab"));
    }

    void namesMatchInAnyCaseAndKeepTheirFirstSpelling()
    {
        TUserStore store;
        QVERIFY(store.WriteText("Software\\VELORAND\\Macro1", "H0", "first"));
        QVERIFY(store.WriteText("software\\velorand\\MACRO1", "h0", "second"));
        QVERIFY(store.CreateKey("SOFTWARE\\Velorand\\macro1\\Sub"));

        QCOMPARE(store.SubKeys("Software"), QStringList{"VELORAND"});
        QCOMPARE(store.SubKeys("Software\\velorand"), QStringList{"Macro1"});
        QCOMPARE(store.SubKeys("Software\\velorand\\macro1"), QStringList{"Sub"});
        QCOMPARE(store.ValueNames("SOFTWARE\\VELORAND\\MACRO1"), QStringList{"H0"});
        QCOMPARE(store.ReadText("Software\\VELORAND\\Macro1", "H0"), QString("second"));
        QVERIFY(store.DeleteValue("software\\velorand\\macro1", "h0"));
        QCOMPARE(store.ValueType("Software\\VELORAND\\Macro1", "H0"), TValueType::Missing);
    }

    void handTypedValuesReadAsMeant_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        const int text = int(TValueType::Text);
        const int notText = int(TValueType::NotText);
        // QSettings drops the blanks around the parts of an unquoted list.
        QTest::newRow("list") << QByteArray("H0=a, b") << text << "a,b";
        QTest::newRow("positions") << QByteArray("H0=100, 80 ,900,700") << text << "100,80,900,700";
        QTest::newRow("set") << QByteArray("H0=[fsBold,fsUnderline]") << text << "[fsBold,fsUnderline]";
        QTest::newRow("quoted list") << QByteArray("H0=\"a, b\"") << text << "a, b";
        QTest::newRow("empty") << QByteArray("H0=") << text << "";
        QTest::newRow("other case") << QByteArray("h0=x") << text << "x";
        QTest::newRow("variant") << QByteArray("H0=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1X)") << notText << "";
        QTest::newRow("invalid") << QByteArray("H0=@Invalid()") << notText << "";
        QTest::newRow("bytes") << QByteArray("H0=@ByteArray(xyz)") << notText << "";
        QTest::newRow("rect") << QByteArray("H0=@Rect(1 2 3 4)") << notText << "";
    }
    void handTypedValuesReadAsMeant()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, type);
        QFETCH(QString, text);
        QVERIFY(WriteStoreFile("[Software]\nVELORAND\\Macro1\\" + line + "\n"));
        TUserStore store;
        QCOMPARE(int(store.ValueType("Software\\VELORAND\\Macro1", "H0")), type);
        const std::optional<QString> read = store.ReadText("Software\\VELORAND\\Macro1", "H0");
        QCOMPARE(read.has_value(), type == int(TValueType::Text));
        QCOMPARE(read.value_or(QString()), text);
    }

    void allSpellingsOfAKeyAreOneKey()
    {
        // The first run writes under the executable's name, the user adds a port by hand.
        QVERIFY(WriteStoreFile("[Software]\nvelorand\\WindowState\\ShowCmd=1\n"
                               "velorand\\Macro1\\H0=m\nVELORAND\\Ports\\COM1=/dev/ttyUSB0\n"));
        TUserStore store;
        QCOMPARE(store.ReadText("Software\\VELORAND\\WindowState", "ShowCmd"), QString("1"));
        QCOMPARE(store.ReadText("Software\\VELORAND\\Macro1", "H0"), QString("m"));
        QCOMPARE(store.ReadText("Software\\velorand\\Ports", "COM1"), QString("/dev/ttyUSB0"));
        QCOMPARE(store.SubKeys("Software"), QStringList{"velorand"});
        QCOMPARE(store.SubKeys("Software\\Velorand"), (QStringList{"Macro1", "Ports", "WindowState"}));

        QVERIFY(store.WriteText("Software\\VELORAND\\WindowState", "ShowCmd", "3"));
        QFile file(store.FilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY2(!content.contains("VELORAND"), content.constData());
        QCOMPARE(content.count("velorand\\"), 3);
        QCOMPARE(store.ReadText("Software\\velorand\\Ports", "COM1"), QString("/dev/ttyUSB0"));
        QCOMPARE(store.ReadText("Software\\velorand\\WindowState", "ShowCmd"), QString("3"));
    }

    void theSpellingSetLastInTheFileWins_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");
        QTest::newRow("upper case last") << QByteArray("[Software]\nvelorand\\S\\V=old\nVELORAND\\S\\V=new\n")
                                         << "new";
        QTest::newRow("lower case last") << QByteArray("[Software]\nVELORAND\\S\\V=old\nvelorand\\s\\v=new\n")
                                         << "new";
        QTest::newRow("later section") << QByteArray("[software]\nvelorand\\s\\v=new\n[Software]\nX=1\n"
                                                     "[software]\nvelorand\\s\\w=2\n[SOFTWARE]\nVelorand\\S\\V=newer\n")
                                       << "newer";
    }
    void theSpellingSetLastInTheFileWins()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QVERIFY(WriteStoreFile(content));
        TUserStore store;
        QCOMPARE(store.ReadText("Software\\Velorand\\S", "V"), text);
        QVERIFY(store.WriteText("Software\\Velorand\\S", "Other", "x"));
        QCOMPARE(store.ReadText("Software\\Velorand\\S", "V"), text);
        QCOMPARE(store.SubKeys("").size(), 1);
        QCOMPARE(store.SubKeys("Software").size(), 1);
        QCOMPARE(store.ValueNames("Software\\Velorand\\S").size(), content.contains("\\w=") ? 3 : 2);
    }

    void emptyKeysExistUntilDeleted()
    {
        TUserStore store;
        QVERIFY(!store.KeyExists("Software\\A"));
        QVERIFY(store.CreateKey("Software\\A\\B\\Empty"));
        TUserStore other;
        QVERIFY(other.KeyExists("software\\a\\b\\empty"));
        QVERIFY(other.ValueNames("Software\\A\\B\\Empty").isEmpty());
        QVERIFY(other.SubKeys("Software\\A\\B\\Empty").isEmpty());

        QVERIFY(store.DeleteKey("Software\\A\\B\\Empty"));
        QVERIFY(!other.KeyExists("Software\\A\\B\\Empty"));
        QVERIFY(other.KeyExists("Software\\A\\B"));   // a parent outlives its last subkey

        QVERIFY(store.WriteText("Software\\A\\B", "V", "x"));
        QVERIFY(store.DeleteValue("Software\\A\\B", "V"));
        QVERIFY(other.KeyExists("Software\\A\\B"));   // and a key its last value
        QVERIFY(other.ValueNames("Software\\A\\B").isEmpty());
    }

    void deleteKeyTakesEverythingBelow()
    {
        TUserStore store;
        QVERIFY(store.WriteText("Software\\X\\Y\\Z", "V", "1"));
        QVERIFY(store.WriteText("Software\\X", "V", "2"));
        QVERIFY(store.WriteText("Software\\Keep", "V", "3"));
        QVERIFY(store.DeleteKey("software\\x"));
        QVERIFY(!store.KeyExists("Software\\X"));
        QVERIFY(!store.KeyExists("Software\\X\\Y\\Z"));
        QCOMPARE(store.ReadText("Software\\Keep", "V"), QString("3"));
        QVERIFY(store.DeleteKey("Software\\NotThere"));
        QVERIFY(!store.DeleteKey(""));
    }

    void deletingAValueKeepsASubkeyOfTheSameName()
    {
        TUserStore store;
        QVERIFY(store.WriteText("Software\\K", "Twin", "value"));
        QVERIFY(store.WriteText("Software\\K\\Twin", "Inner", "kept"));
        QVERIFY(store.DeleteValue("Software\\K", "Twin"));
        QCOMPARE(store.ValueType("Software\\K", "Twin"), TValueType::Missing);
        QCOMPARE(store.ReadText("Software\\K\\Twin", "Inner"), QString("kept"));
    }

    void severalValuesAreWrittenAllOrNone()
    {
        TUserStore store;
        QVERIFY(store.WriteTexts("Software\\T", {{"A", "1"}, {"b", "2"}, {"a", "3"}}));
        QCOMPARE(store.ValueNames("Software\\T"), (QStringList{"A", "b"}));
        QCOMPARE(store.ReadText("Software\\T", "A"), QString("3"));
        QVERIFY(!store.WriteTexts("Software\\T", {{"C", "1"}, {"bad/name", "2"}}));
        QCOMPARE(store.ValueType("Software\\T", "C"), TValueType::Missing);
    }

    void namesTheStoreCannotHoldAreRefused_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::newRow("slash in value") << "Software\\T" << "a/b";
        QTest::newRow("backslash in value") << "Software\\T" << "a\\b";
        QTest::newRow("empty value") << "Software\\T" << "";
        QTest::newRow("control in value") << "Software\\T" << "a\x01key";
        QTest::newRow("slash in key") << "Software\\a/b" << "V";
        QTest::newRow("control in key") << "Software\\\tT" << "V";
    }
    void namesTheStoreCannotHoldAreRefused()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        TUserStore store;
        QVERIFY(!store.WriteText(key, name, "x"));
        QCOMPARE(store.ValueType(key, name), TValueType::Missing);
        QVERIFY(!store.KeyExists("Software"));
    }

    void missingOrDamagedFileReadsWithoutCrashing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk += char((i * 7919) % 256);
        QTest::newRow("binary") << junk;
        QTest::newRow("broken section") << QByteArray("[Software\nV=1\n[[]]\n=\n==x\n\\\n");
        QTest::newRow("zero bytes") << QByteArray("[Software]\n\0\0\0=\0\n", 17);
    }
    void missingOrDamagedFileReadsWithoutCrashing()
    {
        QFETCH(QByteArray, content);
        QVERIFY(WriteStoreFile(content));
        TUserStore store;
        for (const QString &key : store.SubKeys(""))
            store.ValueNames(key);
        QCOMPARE(store.ValueType("Software\\VELORAND", "H0"), TValueType::Missing);
        QVERIFY(store.WriteText("Software\\VELORAND", "H0", "x"));
        QCOMPARE(TUserStore().ReadText("Software\\VELORAND", "H0"), QString("x"));
    }

    void damagedFileIsCopiedBeforeItIsRewritten()
    {
        const QByteArray damaged("[Software/A]\nV=1\n[broken\nW=2\n");
        QVERIFY(WriteStoreFile(damaged));
        QVERIFY(TUserStore().WriteText("Software\\B", "V", "new"));
        QFile copy(TUserStore::DefaultPath() + ".damaged");
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), damaged);
    }

    // What a call parses is kept for the next one; a change to the file is seen all the same.
    void aFileChangedByHandIsReadAgain()
    {
        TUserStore store;
        QVERIFY(store.WriteText("Software\\T", "V", "old"));
        QCOMPARE(store.ReadText("Software\\T", "V"), QString("old"));
        QVERIFY(WriteStoreFile("[Software]\nT\\V=new\nT\\W=1\n"));
        QCOMPARE(store.ReadText("Software\\T", "V"), QString("new"));
        QCOMPARE(store.ValueNames("Software\\T"), (QStringList{"V", "W"}));
    }

    void missingFileIsAnEmptyStore()
    {
        TUserStore store;
        QVERIFY(!store.KeyExists("Software"));
        QVERIFY(store.KeyExists(""));
        QVERIFY(store.SubKeys("").isEmpty());
        QCOMPARE(store.ReadText("Software", "V"), std::nullopt);
        QVERIFY(!QFile::exists(store.FilePath()));
    }

    void writesThatCannotReachTheDiskAreReported()
    {
        // A regular file where the store's folder should be: fails for root too.
        QFile blocker(Home() + "/velorand");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TUserStore store;
        QVERIFY(!store.WriteText("Software\\T", "V", "x"));
        QCOMPARE(store.LastError(), store.FilePath() + ": Not a directory");
        QVERIFY(!store.CreateKey("Software\\T"));
        QCOMPARE(store.ValueType("Software\\T", "V"), TValueType::Missing);
    }

    void aReadOnlyFolderSaysPermissionDenied()
    {
        // Root passes every permission check: the write runs as nobody in a child process.
        QVERIFY(WriteStoreFile("[Software]\nT\\V=old\n"));
        const QString folder = QFileInfo(TUserStore::DefaultPath()).absolutePath();
        QVERIFY(QFile::setPermissions(Home(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner
                | QFileDevice::ReadOther | QFileDevice::ExeOther));
        QVERIFY(QFile::setPermissions(TUserStore::DefaultPath(), QFileDevice::ReadOwner | QFileDevice::ReadOther));
        QCOMPARE(WriteErrorAsNobody(TUserStore::DefaultPath()),
                 TUserStore::DefaultPath() + ": Permission denied");
        QCOMPARE(TUserStore().ReadText("Software\\T", "V"), QString("old"));
    }

    void onlyARegularFileIsTheStore_data()
    {
        QTest::addColumn<QString>("make");
        QTest::addColumn<QString>("why");
        QTest::newRow("named pipe") << "mkfifo %1" << "not a regular file but a named pipe";
        QTest::newRow("folder") << "mkdir %1" << "not a regular file but a folder";
        QTest::newRow("link to a device") << "ln -s /dev/null %1" << "not a regular file but a character device";
        QTest::newRow("loop of links") << "ln -s %1 %1" << "a loop of symbolic links";
    }
    void onlyARegularFileIsTheStore()
    {
        QFETCH(QString, make);
        QFETCH(QString, why);
        const QString path = TUserStore::DefaultPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QCOMPARE(QProcess::execute("sh", {"-c", make.arg(path)}), 0);
        const QFileInfo before(path);

        TUserStore store;
        QCOMPARE(store.Refusal(), path + ": " + why);
        QCOMPARE(store.ReadText("Software\\T", "V"), std::nullopt);
        QVERIFY(!store.WriteText("Software\\T", "V", "x"));
        QCOMPARE(store.LastError(), path + ": " + why);
        const QFileInfo after(path);
        QCOMPARE(after.isSymLink(), before.isSymLink());
        QCOMPARE(after.isDir(), before.isDir());
        QVERIFY(!QFileInfo("/dev/null").isFile());
    }

    void aLinkToARegularFileIsFollowedAndKept()
    {
        const QString target = Home() + "/elsewhere.ini";
        QVERIFY(WriteStoreFile("[Software]\nT\\V=old\n", target));
        QVERIFY(QDir().mkpath(QFileInfo(TUserStore::DefaultPath()).absolutePath()));
        QVERIFY(QFile::link(target, TUserStore::DefaultPath()));
        TUserStore store;
        QCOMPARE(store.Refusal(), std::nullopt);
        QVERIFY(store.WriteText("Software\\T", "V", "new"));
        QVERIFY(QFileInfo(TUserStore::DefaultPath()).isSymLink());
        QCOMPARE(TUserStore(target).ReadText("Software\\T", "V"), QString("new"));
    }

    void failedWritesLeaveTheOldValues()
    {
        const QString path = UnwritableStoreFile("[Software]\nT\\V=old\n");

        TUserStore store(path);
        QVERIFY(!store.WriteText("Software\\T", "V", "new"));
        QCOMPARE(store.LastError(), path + ": File name too long");
        QVERIFY(!store.WriteText("Software\\T", "W", "new"));
        QVERIFY(!store.DeleteValue("Software\\T", "V"));
        QVERIFY(!store.DeleteKey("Software\\T"));
        QVERIFY(!store.CreateKey("Software\\T\\New"));
        QVERIFY(store.CreateKey("software\\t"));   // opening what exists needs no write
        QCOMPARE(store.ReadText("Software\\T", "V"), QString("old"));
        QCOMPARE(TUserStore(path).ValueNames("Software\\T"), QStringList{"V"});
    }
};

QTEST_GUILESS_MAIN(TstUserStore)
#include "tst_userstore.moc"
