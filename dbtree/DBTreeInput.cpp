#include "dbtree/DBTreeInput.h"

#include "dbtree/DBTreeConst.h"
#include "dbtree/KorDBTre.h"
#include "export/KorExportCommand.h"

namespace {

QString Option(const TExportOptions &options, const char *name)
{
    for (const auto &[n, v] : options)
        if (n == QLatin1String(name))
            return v;
    return QString();
}

bool HasOption(const TExportOptions &options, const char *name)
{
    for (const auto &o : options)
        if (o.first == QLatin1String(name))
            return true;
    return false;
}

void ReadDatabase(TCustomTree &tree, const QString &name, const TExportOptions &options)
{
    auto *db = dynamic_cast<TCustomDBTree *>(&tree);
    const QString table = Option(options, "table");
    const QString sql = Option(options, "sql");
    const QString text = Option(options, "text-fields");
    if (!db || (table.isEmpty() && sql.isEmpty()) || text.isEmpty())
        throw EDBTreeException(SDBNeedsTable.Text());
    const TTreeDatabase database = TTreeDatabase::FromLocation(HasOption(options, "db") ? Option(options, "db") : name);
    // The datasets belong to the diagram's host, as in the editor.
    TComponent *host = tree.Owner();
    auto *master = new TTreeDataSet(host);
    master->SetName(host ? host->UniqueName(QStringLiteral("TTable")) : QStringLiteral("Table1"));
    master->SetDatabase(database);
    master->SetTableName(table);
    master->SetSQL(sql);
    master->Open();
    db->SetDataSet(master);
    db->SetTextFields(text);
    if (HasOption(options, "code-field")) {
        db->SetCodeField(Option(options, "code-field"));
        db->SetParentField(Option(options, "parent-field"));
    } else if (HasOption(options, "group-fields")) {
        db->SetParentField(Option(options, "group-fields"));
    } else if (HasOption(options, "parent-field")) {
        db->SetParentField(Option(options, "parent-field"));
    }
    if (HasOption(options, "multi-line"))
        db->SetMultiLineText(true);
    if (HasOption(options, "grid"))
        db->Layout()->Items(0)->SetDisplayMode(ldGrid);
    if (HasOption(options, "detail-table")) {
        auto *detail = new TTreeDataSet(host);
        detail->SetName(host ? host->UniqueName(QStringLiteral("TTable")) : QStringLiteral("Table2"));
        detail->SetDatabase(database);
        detail->SetTableName(Option(options, "detail-table"));
        detail->SetMaster(master, Option(options, "master-field"), Option(options, "detail-field"));
        detail->Open();
        db->SetDetail(detail);
        db->SetDetailFields(Option(options, "detail-fields"));
    }
    db->Refresh();
}

std::vector<TExportOption> DatabaseOptions()
{
    return {
        {QStringLiteral("db"), QStringLiteral("LOCATION"), &SDBOptionDB},
        {QStringLiteral("table"), QStringLiteral("NAME"), &SDBOptionTable},
        {QStringLiteral("sql"), QStringLiteral("QUERY"), &SDBOptionSQL},
        {QStringLiteral("text-fields"), QStringLiteral("A;B"), &SDBOptionTextFields},
        {QStringLiteral("code-field"), QStringLiteral("FIELD"), &SDBOptionCodeField},
        {QStringLiteral("parent-field"), QStringLiteral("FIELD"), &SDBOptionParentField},
        {QStringLiteral("group-fields"), QStringLiteral("A;B"), &SDBOptionGroupFields},
        {QStringLiteral("multi-line"), QString(), &SDBOptionMultiLine},
        {QStringLiteral("grid"), QString(), &SDBOptionGrid},
        {QStringLiteral("detail-table"), QStringLiteral("NAME"), &SDBOptionDetailTable},
        {QStringLiteral("detail-fields"), QStringLiteral("A;B"), &SDBOptionDetailFields},
        {QStringLiteral("master-field"), QStringLiteral("FIELD"), &SDBOptionMasterField},
        {QStringLiteral("detail-field"), QStringLiteral("FIELD"), &SDBOptionDetailField},
    };
}

} // namespace

void RegisterDatabaseInput()
{
    static const bool done = [] {
        // Diagram files written by the editor are database-capable diagrams.
        SetCommandLineTreeFactory([](TComponent *host) -> std::unique_ptr<TTree> {
            RegisterDBTreeClasses();
            return std::make_unique<TDBTree>(host);
        });
        bool first = true;
        for (const char *ext : {"sqlite", "sqlite3", "db"}) {
            TDiagramInputKind kind;
            kind.Extension = QString::fromLatin1(ext);
            kind.Description = &SDBInputDescription;
            kind.Read = nullptr;
            if (first)
                kind.Prefixes = {QStringLiteral("postgresql://"), QStringLiteral("postgres://")};
            first = false;
            kind.Options = DatabaseOptions();
            kind.ReadWithOptions = &ReadDatabase;
            kind.NewTree = [](TComponent *host) -> std::unique_ptr<TTree> {
                RegisterDBTreeClasses();
                auto tree = std::make_unique<TDBTree>(host);
                tree->SetNoOwnerShapes(false);
                return tree;
            };
            RegisterDiagramInputKind(std::move(kind));
        }
        return true;
    }();
    (void)done;
}
