// Database trees built from real tables: the three ways of forming a
// hierarchy, the text of record nodes, headers, grids, the messages of
// fields that are missing or hold no code, progress and cancelling, and
// what files keep. Built twice: on SQLite files and, when the test command
// started one, on a PostgreSQL server.

#include "DBTreeTestUtil.h"

#include "core/Reader.h"
#include "dbtree/DBTreeConst.h"
#include "dbtree/DBTreeInput.h"
#include "export/KorExportCommand.h"
#include "model/TreeFile.h"
#include "shapes/GridShape.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QTextStream>

#ifdef DBTREE_TEST_POSTGRES
constexpr bool kPostgres = true;
#else
constexpr bool kPostgres = false;
#endif

class TestDBTree : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<TComponent> FOwner;
    TDBTree *FTree = nullptr;

    TTreeDataSet *Open(const QString &table)
    {
        TTreeDataSet *d = FDb->DataSet(FOwner.get(), table);
        d->Open();
        return d;
    }

private slots:
    void initTestCase()
    {
        if (kPostgres && !TTestDatabase::PostgresAvailable())
            QSKIP("no PostgreSQL server was started for the tests (DENDRIX_TEST_PGHOST)");
        RegisterDBTreeClasses();
        RegisterDatabaseInput();
    }
    void init()
    {
        FDb = std::make_unique<TTestDatabase>(kPostgres);
        FOwner = std::make_unique<TComponent>();
        FOwner->SetName(QStringLiteral("Editor"));
        FTree = new TDBTree(FOwner.get());
        FTree->SetName(QStringLiteral("Tree1"));
        FTree->SetNoOwnerShapes(false);
    }
    void cleanup()
    {
        FOwner.reset();
        FDb.reset();
    }

    void recordText_data()
    {
        QTest::addColumn<bool>("multiLine");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("outline");
        // A missing value still adds its space.
        QTest::newRow("one line") << false << "Name;City" << "Anne Paris\nBob \n";
        QTest::newRow("lines") << true << "Name;City" << "Anne|Paris\nBob|\n";
        QTest::newRow("empty first value") << false << "City;Name" << "Paris Anne\nBob\n";
    }
    void recordText()
    {
        QFETCH(bool, multiLine);
        QFETCH(QString, fields);
        QFETCH(QString, outline);
        FDb->CreateTable(QStringLiteral("people"), {QStringLiteral("name varchar(20)"), QStringLiteral("city varchar(20)")},
                         {{QStringLiteral("Anne"), QStringLiteral("Paris")}, {QStringLiteral("Bob"), QVariant()}});
        FTree->SetDataSet(Open(QStringLiteral("people")));
        FTree->SetTextFields(fields);
        FTree->SetMultiLineText(multiLine);
        FTree->Refresh();
        QCOMPARE(Outline(*FTree), outline);
    }

    void groupFields_data()
    {
        QTest::addColumn<QString>("groups");
        QTest::addColumn<QString>("outline");
        QTest::newRow("one field") << "country"
                                   << "UK\n London\n Leeds\nUSA\n Chicago\n Boston\n";
        QTest::newRow("two fields") << "country;kind"
                                    << "UK\n big\n  London\n small\n  Leeds\nUSA\n big\n  Chicago\n  Boston\n";
    }
    void groupFields()
    {
        QFETCH(QString, groups);
        QFETCH(QString, outline);
        FDb->CreateTable(QStringLiteral("cities"),
                         {QStringLiteral("city varchar(20)"), QStringLiteral("country varchar(20)"), QStringLiteral("kind varchar(9)")},
                         {{QStringLiteral("London"), QStringLiteral("UK"), QStringLiteral("big")},
                          {QStringLiteral("Chicago"), QStringLiteral("USA"), QStringLiteral("big")},
                          {QStringLiteral("Leeds"), QStringLiteral("UK"), QStringLiteral("small")},
                          {QStringLiteral("Boston"), QStringLiteral("USA"), QStringLiteral("big")}});
        // The rows come back in the order they were written.
        TTreeDataSet *d = FDb->DataSet(FOwner.get(), QStringLiteral("cities"));
        d->SetSQL(QStringLiteral("select * from cities order by case city when 'London' then 1 when 'Chicago' then 2 "
                                 "when 'Leeds' then 3 else 4 end"));
        d->Open();
        FTree->SetDataSet(d);
        FTree->SetTextFields(QStringLiteral("city"));
        FTree->SetParentField(groups);
        FTree->Refresh();
        QCOMPARE(Outline(*FTree), outline);
    }

    void codeParent_data()
    {
        QTest::addColumn<QList<QVariantList>>("rows");
        QTest::addColumn<QString>("outline");
        QTest::newRow("hierarchy") << QList<QVariantList>{{1, 0, QStringLiteral("World")},
                                                          {2, 1, QStringLiteral("Africa")},
                                                          {3, 1, QStringLiteral("America")},
                                                          {4, 3, QStringLiteral("USA")},
                                                          {5, 2, QStringLiteral("Kenya")}}
                                   << "World\n Africa\n  Kenya\n America\n  USA\n";
        // Only nodes built already are searched: a later parent makes a root.
        QTest::newRow("parent comes later") << QList<QVariantList>{{1, 0, QStringLiteral("A")},
                                                                   {2, 3, QStringLiteral("B")},
                                                                   {3, 1, QStringLiteral("C")}}
                                            << "A\n C\nB\n";
        QTest::newRow("codes of 0 and below") << QList<QVariantList>{{5, 0, QStringLiteral("A")},
                                                                     {6, -2, QStringLiteral("B")},
                                                                     {7, 0, QStringLiteral("C")},
                                                                     {8, QVariant(), QStringLiteral("D")}}
                                              << "A\nB\nC\nD\n";
    }
    void codeParent()
    {
        QFETCH(QList<QVariantList>, rows);
        QFETCH(QString, outline);
        FDb->CreateTable(QStringLiteral("places"),
                         {QStringLiteral("code integer"), QStringLiteral("parent integer"), QStringLiteral("name varchar(20)")},
                         rows);
        FTree->SetDataSet(Open(QStringLiteral("places")));
        FTree->SetCodeField(QStringLiteral("code"));
        FTree->SetParentField(QStringLiteral("parent"));
        FTree->SetTextFields(QStringLiteral("name"));
        FTree->Refresh();
        QCOMPARE(Outline(*FTree), outline);
        QCOMPARE(FTree->Roots()[0]->Tag(), rows.first().first().toInt());
    }

    void masterDetail()
    {
        FDb->CreateTable(QStringLiteral("departments"), {QStringLiteral("id integer"), QStringLiteral("name varchar(20)")},
                         {{1, QStringLiteral("Accounting")}, {2, QStringLiteral("Sales")}, {3, QStringLiteral("Empty")}});
        FDb->CreateTable(QStringLiteral("employees"),
                         {QStringLiteral("dept integer"), QStringLiteral("name varchar(20)"), QStringLiteral("month varchar(9)")},
                         {{2, QStringLiteral("Anne"), QStringLiteral("June")},
                          {1, QStringLiteral("John"), QStringLiteral("April")},
                          {1, QStringLiteral("Chris"), QStringLiteral("March")}});
        TTreeDataSet *master = Open(QStringLiteral("departments"));
        TTreeDataSet *detail = FDb->DataSet(FOwner.get(), QStringLiteral("employees"));
        detail->SetMaster(master, QStringLiteral("id"), QStringLiteral("dept"));
        detail->Open();
        FTree->SetDataSet(master);
        FTree->SetTextFields(QStringLiteral("name"));
        FTree->SetDetail(detail);
        FTree->SetDetailFields(QStringLiteral("name;month"));
        FTree->Refresh();
        QCOMPARE(Outline(*FTree), QStringLiteral("Accounting\n John April\n Chris March\nSales\n Anne June\nEmpty\n"));
        // The detail was filled inside its master's records only.
        QCOMPARE(FTree->Roots().Count(), 3);
        // The master's current record is where it was.
        QCOMPARE(master->RecNo(), 0);
    }

    void header()
    {
        FDb->CreateTable(QStringLiteral("t"), {QStringLiteral("name varchar(9)")}, {{QStringLiteral("a")}, {QStringLiteral("b")}});
        FTree->SetDataSet(Open(QStringLiteral("t")));
        FTree->SetTextFields(QStringLiteral("name"));
        TDBLayout *item = FTree->Layout()->Items(0);
        item->HeaderFormat();
        FTree->Refresh();
        QCOMPARE(Outline(*FTree), QStringLiteral("a\nb\n"));
        item->HeaderFormat()->Text()->SetLines({QStringLiteral("Names"), QStringLiteral("second")});
        FTree->Refresh();
        QCOMPARE(Outline(*FTree), QStringLiteral("Names|second\n a\n b\n"));
    }

    void grid()
    {
        FDb->CreateTable(QStringLiteral("t"), {QStringLiteral("name varchar(9)"), QStringLiteral("city varchar(9)"), QStringLiteral("age integer")},
                         {{QStringLiteral("Anne"), QStringLiteral("Paris"), 31}});
        FTree->SetDataSet(Open(QStringLiteral("t")));
        FTree->SetTextFields(QStringLiteral("name;city;age"));
        FTree->Layout()->Items(0)->SetDisplayMode(ldGrid);
        FTree->Refresh();
        QCOMPARE(FTree->Roots().Count(), 1);
        auto *g = dynamic_cast<TGridShape *>(FTree->Roots()[0]);
        QVERIFY(g);
        QCOMPARE(g->Columns(), 3);
        QCOMPARE(g->Rows(), 1);
        QVERIFY(g->AutoSize());
        QCOMPARE(g->Cells(0, 0)->SimpleText(), QStringLiteral("Anne"));
        QCOMPARE(g->Cells(0, 2)->SimpleText(), QStringLiteral("31"));
    }

    void errors_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown text field") << "name;height" << "" << "" << "Field height not found in table Table1";
        QTest::newRow("no text field") << "" << "" << "" << "At least one Detail field should be selected.";
        QTest::newRow("code without parent") << "name" << "code" << "" << "The Parent field should be selected.";
        QTest::newRow("unknown group field") << "name" << "" << "country" << "Field country not found in table Table1";
        QTest::newRow("code is no number") << "name" << "name" << "code"
                                           << "Field name of table Table1 holds \"first\", which is not a whole number";
    }
    void errors()
    {
        QFETCH(QString, text);
        QFETCH(QString, code);
        QFETCH(QString, parent);
        QFETCH(QString, message);
        FDb->CreateTable(QStringLiteral("t"), {QStringLiteral("code integer"), QStringLiteral("name varchar(9)")},
                         {{1, QStringLiteral("first")}, {2, QStringLiteral("second")}});
        FTree->SetDataSet(Open(QStringLiteral("t")));
        FTree->Layout()->Items(0)->SetFields(text);
        FTree->SetCodeField(code);
        FTree->SetParentField(parent);
        FTree->AddRoot(QStringLiteral("kept?"));
        try {
            FTree->Refresh();
            QFAIL("no error");
        } catch (const EDBTreeException &e) {
            QCOMPARE(e.Message(), message);
        }
        // Naming and owning are back as they were; the dataset is usable.
        QVERIFY(!FTree->NoOwnerShapes());
        QVERIFY(FTree->DataSet()->Active());
        for (int i = 0; i < FTree->Shapes().Count(); ++i)
            QVERIFY(FTree->Shapes()[i]->Owner() == FOwner.get());
    }

    // A tree filled from a database and saved reopens with its nodes.
    void savedTreeKeepsItsNodes()
    {
        FDb->CreateTable(QStringLiteral("places"),
                         {QStringLiteral("code integer"), QStringLiteral("parent integer"), QStringLiteral("name varchar(20)")},
                         {{1, 0, QStringLiteral("World")}, {2, 1, QStringLiteral("Africa")}});
        FTree->SetDataSet(Open(QStringLiteral("places")));
        FTree->SetCodeField(QStringLiteral("code"));
        FTree->SetParentField(QStringLiteral("parent"));
        FTree->SetTextFields(QStringLiteral("name"));
        FTree->Layout()->Items(0)->Format()->SetColor(clYellow);
        FTree->Refresh();
        QCOMPARE(Outline(*FTree), QStringLiteral("World\n Africa\n"));
        for (int i = 0; i < FTree->Shapes().Count(); ++i)
            QVERIFY(!FTree->Shapes()[i]->Name().isEmpty());
        TComponent other;
        TDBTree copy(&other);
        SaveAndLoad(*FTree, copy);
        QCOMPARE(Outline(copy), QStringLiteral("World\n Africa\n"));
        QCOMPARE(copy.Connections().Count(), 1);
        // The layout came along, with its format; the dataset stayed behind.
        QCOMPARE(copy.Layout()->Count(), 1);
        QCOMPARE(copy.CodeField(), QStringLiteral("code"));
        QCOMPARE(copy.TextFields(), QStringLiteral("name"));
        QVERIFY(copy.Layout()->Items(0)->PeekFormat());
        QCOMPARE(copy.Layout()->Items(0)->PeekFormat()->Color(), clYellow);
        QVERIFY(!copy.Layout()->Items(0)->PeekHeaderFormat());
    }

    void freedDataSetIsForgotten()
    {
        FDb->CreateTable(QStringLiteral("t"), {QStringLiteral("name varchar(9)")}, {{QStringLiteral("a")}});
        TTreeDataSet *d = Open(QStringLiteral("t"));
        FTree->SetDataSet(d);
        FTree->SetDetail(d);
        delete d;
        QCOMPARE(FTree->DataSet(), nullptr);
        QCOMPARE(FTree->Detail(), nullptr);
        FTree->Refresh(); // nothing to build from, and no crash
    }

    void cancelKeepsWhatWasBuilt()
    {
        QList<QVariantList> rows;
        for (int i = 1; i <= 50; ++i)
            rows << QVariantList{QStringLiteral("n%1").arg(i)};
        FDb->CreateTable(QStringLiteral("t"), {QStringLiteral("name varchar(9)")}, rows);
        FTree->SetDataSet(Open(QStringLiteral("t")));
        FTree->SetTextFields(QStringLiteral("name"));
        int calls = 0;
        FTree->OnProgress = [&](int done, int total) {
            ++calls;
            [&] { QCOMPARE(total, 50); }();
            return done < 10;
        };
        FTree->Refresh();
        QVERIFY(FTree->Cancelled());
        QCOMPARE(calls, 10);
        QCOMPARE(FTree->Roots().Count(), 10);
    }

    // The document hears one step; the database is never written.
    void oneStepAndReadOnly()
    {
        FDb->CreateTable(QStringLiteral("t"), {QStringLiteral("name varchar(9)")}, {{QStringLiteral("a")}, {QStringLiteral("b")}});
        struct TListener : TTreeChangeListener
        {
            int Steps = 0, Changes = 0, Replacing = 0, Replaced = 0, NodesWhenReplaced = -1;
            QStringList NamesWhenReplaced;
            void TreeStepBegin(TTreeDocument *, const QString &) override { ++Steps; }
            void TreeChanged(TTreeDocument *, const TTreeChange &) override { ++Changes; }
            void TreeReplacing(TTreeDocument *) override { ++Replacing; }
            // A view of the hierarchy reads the diagram afresh here.
            void TreeReplaced(TTreeDocument *tree) override
            {
                ++Replaced;
                NodesWhenReplaced = tree->Shapes().Count();
                for (int i = 0; i < tree->Shapes().Count(); ++i)
                    NamesWhenReplaced << tree->Shapes()[i]->Name();
            }
        } listener;
        FTree->AddChangeListener(&listener);
        FTree->SetDataSet(Open(QStringLiteral("t")));
        FTree->SetTextFields(QStringLiteral("name"));
        QByteArray before;
        if (!kPostgres) {
            QFile f(FDb->Database().DatabaseName);
            QVERIFY(f.open(QIODevice::ReadOnly));
            before = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        }
        FTree->Refresh();
        FTree->RemoveChangeListener(&listener);
        QCOMPARE(listener.Steps, 1);
        QCOMPARE(listener.Changes, 1);
        QCOMPARE(listener.Replacing, 1);
        QCOMPARE(listener.Replaced, 1);
        QCOMPARE(listener.NodesWhenReplaced, 2);
        QVERIFY(!listener.NamesWhenReplaced.contains(QString()));
        if (!kPostgres) {
            QFile f(FDb->Database().DatabaseName);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256), before);
        }
        // Writing through a dataset's connection is refused.
        TTreeDataSet *d = FTree->DataSet();
        d->SetSQL(QStringLiteral("delete from t"));
        QVERIFY_THROWS_EXCEPTION(EDBTreeException, d->Open());
    }

    // The command line builds the tree and writes any format.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("outline");
        QTest::addColumn<int>("status");
        QTest::newRow("code and parent") << QStringList{"--table", "places", "--code-field", "code", "--parent-field",
                                                        "parent", "--text-fields", "name"}
                                         << "World\n Africa\n America\n" << 0;
        QTest::newRow("groups") << QStringList{"--table", "places", "--group-fields", "kind", "--text-fields", "name"}
                                << "planet\n World\ncontinent\n Africa\n America\n" << 0;
        QTest::newRow("master and detail")
            << QStringList{"--table", "places", "--text-fields", "name", "--detail-table", "cities", "--master-field",
                           "code", "--detail-field", "place", "--detail-fields", "city"}
            << "World\nAfrica\n Nairobi\nAmerica\n Boston\n Quito\n" << 0;
        QTest::newRow("no table") << QStringList{"--text-fields", "name"} << "" << 1;
        QTest::newRow("unknown field") << QStringList{"--table", "places", "--text-fields", "height"} << "" << 1;
    }
    void commandLine()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, outline);
        QFETCH(int, status);
        FDb->CreateTable(QStringLiteral("places"),
                         {QStringLiteral("code integer"), QStringLiteral("parent integer"),
                          QStringLiteral("name varchar(20)"), QStringLiteral("kind varchar(20)")},
                         {{1, 0, QStringLiteral("World"), QStringLiteral("planet")},
                          {2, 1, QStringLiteral("Africa"), QStringLiteral("continent")},
                          {3, 1, QStringLiteral("America"), QStringLiteral("continent")}});
        FDb->CreateTable(QStringLiteral("cities"), {QStringLiteral("place integer"), QStringLiteral("city varchar(20)")},
                         {{3, QStringLiteral("Boston")}, {2, QStringLiteral("Nairobi")}, {3, QStringLiteral("Quito")}});
        QTemporaryDir out;
        const QString abx = out.filePath(QStringLiteral("tree.abx"));
        QStringList args{QStringLiteral("--export"), abx};
        const TTreeDatabase &d = FDb->Database();
        if (kPostgres)
            args << QStringLiteral("--db")
                 << QStringLiteral("postgresql://%1@/%2?host=%3&port=%4").arg(d.User, d.DatabaseName, d.Host).arg(d.Port);
        else
            args << d.DatabaseName;
        args << options;
        const TCommandLine cmd = ParseCommandLine(args);
        QCOMPARE(cmd.Action, TCommandLine::aExport);
        QString errors;
        QTextStream err(&errors);
        QCOMPARE(RunExportCommand(cmd.Output, cmd.Input, err, cmd.Options, cmd.InputOptions), status);
        if (status != 0) {
            QVERIFY(!errors.isEmpty());
            return;
        }
        QVERIFY2(errors.isEmpty(), qPrintable(errors));
        TComponent host;
        TDBTree read(&host);
        read.SetNoOwnerShapes(false);
        LoadDiagramFile(read, abx);
        // The layout came along; the datasets did not.
        QVERIFY(read.Layout()->Count() >= 1);
        QCOMPARE(read.DataSet(), nullptr);
        QCOMPARE(Outline(read), outline);
        // A picture of the same tree.
        const QString png = out.filePath(QStringLiteral("tree.png"));
        args[1] = png;
        const TCommandLine picture = ParseCommandLine(args);
        // The written diagram exports again from the command line.
        QCOMPARE(RunExportCommand(out.filePath(QStringLiteral("again.bmp")), abx, err, {}), 0);
        QCOMPARE(RunExportCommand(picture.Output, picture.Input, err, picture.Options, picture.InputOptions), 0);
        QVERIFY(QImage(png).width() > 10);
        // The help names the options.
        QVERIFY(CommandLineHelp().contains(QStringLiteral("--code-field FIELD")));
    }

    void missingTableAndDatabase()
    {
        TTreeDataSet *d = FDb->DataSet(FOwner.get(), QStringLiteral("no_such_table"));
        FDb->CreateTable(QStringLiteral("t"), {QStringLiteral("name varchar(9)")}, {});
        try {
            d->Open();
            QFAIL("opened");
        } catch (const EDBTreeException &e) {
            QVERIFY2(e.Message().startsWith(QStringLiteral("Cannot read the records of no_such_table: ")),
                     qPrintable(e.Message()));
        }
        QVERIFY(!d->Active());
        // A quoted name is no way into the SQL.
        d->SetTableName(QStringLiteral("t\"; drop table t; --"));
        QVERIFY_THROWS_EXCEPTION(EDBTreeException, d->Open());
        TTreeDataSet *t = Open(QStringLiteral("t"));
        QVERIFY(t->Active());
        if (!kPostgres) {
            TTreeDatabase missing;
            missing.DatabaseName = QStringLiteral("/no/such/folder/x.sqlite");
            d->SetDatabase(missing);
            d->SetTableName(QStringLiteral("t"));
            QVERIFY_THROWS_EXCEPTION(EDBTreeException, d->Open());
        }
    }
};

QTEST_MAIN(TestDBTree)
#include "tst_dbtree.moc"
