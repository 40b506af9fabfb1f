#pragma once
// Databases the database-tree tests fill themselves: an SQLite file in a
// temporary folder, or a throw-away PostgreSQL server started by the test
// command (DENDRIX_TEST_PGHOST: its socket folder, DENDRIX_TEST_PGPORT).

#include "dbtree/KorDBTre.h"

#include <QBuffer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <set>

class TTestDatabase
{
public:
    explicit TTestDatabase(bool postgres) : FPostgres(postgres)
    {
        if (postgres) {
            FDatabase.Engine = TTreeDatabase::dePostgreSQL;
            FDatabase.Host = qEnvironmentVariable("DENDRIX_TEST_PGHOST");
            FDatabase.Port = qEnvironmentVariableIntValue("DENDRIX_TEST_PGPORT");
            FDatabase.User = qEnvironmentVariable("DENDRIX_TEST_PGUSER", QStringLiteral("postgres"));
            FDatabase.DatabaseName = qEnvironmentVariable("DENDRIX_TEST_PGDATABASE", QStringLiteral("postgres"));
        } else {
            FDatabase.Engine = TTreeDatabase::deSQLite;
            FDatabase.DatabaseName = FFolder.filePath(QStringLiteral("test.sqlite"));
        }
    }
    ~TTestDatabase()
    {
        for (const QString &t : FTables)
            Exec(QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(t));
        QSqlDatabase::removeDatabase(QStringLiteral("dbtree-test-setup"));
    }
    // Whether the database can be reached (a server may be missing).
    static bool PostgresAvailable() { return !qEnvironmentVariableIsEmpty("DENDRIX_TEST_PGHOST"); }

    const TTreeDatabase &Database() const { return FDatabase; }

    // Creates a table with the columns ("name type") and rows; a table of
    // that name made before is replaced.
    void CreateTable(const QString &name, const QStringList &columns, const QList<QVariantList> &rows)
    {
        Exec(QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(name));
        Exec(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(name, columns.join(QStringLiteral(", "))));
        FTables << name;
        QSqlDatabase db = Connection();
        for (const QVariantList &row : rows) {
            QSqlQuery q(db);
            QStringList marks;
            for (int i = 0; i < row.size(); ++i)
                marks << QStringLiteral("?");
            QVERIFY(q.prepare(QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(name, marks.join(QLatin1Char(',')))));
            for (const QVariant &v : row)
                q.addBindValue(v);
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
    }
    void Exec(const QString &sql)
    {
        QSqlQuery q(Connection());
        QVERIFY2(q.exec(sql), qPrintable(sql + QStringLiteral(": ") + q.lastError().text()));
    }
    // A dataset on a table of this database.
    TTreeDataSet *DataSet(TComponent *owner, const QString &table)
    {
        auto *d = new TTreeDataSet(owner);
        d->SetName(owner->UniqueName(QStringLiteral("TTable")));
        d->SetDatabase(FDatabase);
        d->SetTableName(table);
        return d;
    }

private:
    QSqlDatabase Connection()
    {
        const QString name = QStringLiteral("dbtree-test-setup");
        if (QSqlDatabase::contains(name))
            return QSqlDatabase::database(name);
        QSqlDatabase db = QSqlDatabase::addDatabase(FPostgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(FDatabase.DatabaseName);
        if (FPostgres) {
            db.setHostName(FDatabase.Host);
            db.setPort(FDatabase.Port);
            db.setUserName(FDatabase.User);
        }
        if (!db.open())
            qFatal("cannot open the test database: %s", qPrintable(db.lastError().text()));
        return db;
    }

    bool FPostgres;
    QTemporaryDir FFolder;
    TTreeDatabase FDatabase;
    QStringList FTables;
};

// The first text line of a node.
inline QString FirstLine(const TTreeNodeShape *node)
{
    return node->Line(0);
}

// The hierarchy as an indented outline ("A\n B\n"), roots in order.
inline QString Outline(const TTreeDocument &tree)
{
    QString out;
    std::function<void(const TTreeNodeShape *, int)> walk = [&](const TTreeNodeShape *n, int depth) {
        QStringList lines;
        for (int i = 0; i < n->LineCount(); ++i)
            lines << n->Line(i);
        out += QString(depth, QLatin1Char(' ')) + lines.join(QLatin1Char('|')) + QLatin1Char('\n');
        for (int i = 0; i < n->Children().Count(); ++i)
            walk(n->Children()[i], depth + 1);
    };
    for (int i = 0; i < tree.Roots().Count(); ++i)
        walk(tree.Roots()[i], 0);
    return out;
}

// Writes a diagram and reads it into another one, whose nodes are owned.
inline void SaveAndLoad(TTreeDocument &from, TTreeDocument &into)
{
    QBuffer file;
    file.open(QIODevice::ReadWrite);
    SaveDiagram(from, file);
    file.seek(0);
    into.SetNoOwnerShapes(false);
    LoadDiagram(into, file);
}

// Whether a filled diagram holds together as a document: every node and
// connection owned by `owner` under a name of its own, every parent in the
// diagram, and one connection to each node that has a parent.
inline void VerifyDocument(const TTreeDocument &tree, const TComponent *owner)
{
    std::set<QString> names;
    int children = 0;
    for (int i = 0; i < tree.Shapes().Count(); ++i) {
        const TTreeNodeShape *n = tree.Shapes()[i];
        QCOMPARE(n->Tree(), &tree);
        QCOMPARE(n->Owner(), owner);
        QVERIFY(!n->Name().isEmpty());
        QVERIFY2(names.insert(n->Name()).second, qPrintable(n->Name()));
        if (n->Parent()) {
            ++children;
            QVERIFY(tree.Shapes().Contains(n->Parent()));
        }
    }
    for (int i = 0; i < tree.Connections().Count(); ++i) {
        QCOMPARE(tree.Connections()[i]->Owner(), owner);
        QVERIFY(names.insert(tree.Connections()[i]->Name()).second);
    }
    QCOMPARE(tree.Connections().Count(), children);
    QCOMPARE(tree.Roots().Count(), tree.Shapes().Count() - children);
}
