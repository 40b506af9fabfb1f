#include "dbtree/TreeDataSet.h"

#include "core/ClassInfo.h"
#include "dbtree/DBTreeConst.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>

namespace {

QString NextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("dendrix-dataset-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

QString DriverOf(TTreeDatabase::TEngine engine)
{
    return engine == TTreeDatabase::dePostgreSQL ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
}

// Opens a connection named `name` as `database` says, read-only.
QSqlDatabase Connect(const QString &name, const TTreeDatabase &database)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(DriverOf(database.Engine), name);
    db.setDatabaseName(database.DatabaseName);
    if (database.Engine == TTreeDatabase::deSQLite) {
        // Never written to, and never created when the file is missing.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    } else {
        if (!database.Host.isEmpty())
            db.setHostName(database.Host);
        if (database.Port > 0)
            db.setPort(database.Port);
        if (!database.User.isEmpty())
            db.setUserName(database.User);
        if (!database.Password.isEmpty())
            db.setPassword(database.Password);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    }
    if (!db.open())
        throw EDBTreeException(FormatMessage(SDBCannotConnect, {database.DisplayName(), db.lastError().text()}));
    if (database.Engine == TTreeDatabase::dePostgreSQL) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
    }
    return db;
}

} // namespace

// ---------------------------------------------------------------------------
// TTreeDatabase

TTreeDatabase TTreeDatabase::FromLocation(const QString &location)
{
    TTreeDatabase d;
    if (location.startsWith(QLatin1String("postgresql://")) || location.startsWith(QLatin1String("postgres://"))) {
        const QUrl url(location);
        d.Engine = dePostgreSQL;
        d.Host = url.host();
        d.Port = url.port(0);
        d.User = url.userName();
        d.Password = url.password();
        d.DatabaseName = url.path().mid(1);
        const QUrlQuery query(url);
        if (query.hasQueryItem(QStringLiteral("host")))
            d.Host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
        if (query.hasQueryItem(QStringLiteral("port")))
            d.Port = query.queryItemValue(QStringLiteral("port")).toInt();
        return d;
    }
    d.Engine = deSQLite;
    d.DatabaseName = location;
    return d;
}

QString TTreeDatabase::DisplayName() const
{
    if (Engine == deSQLite)
        return DatabaseName;
    QString where = Host.isEmpty() ? QStringLiteral("localhost") : Host;
    if (Port > 0)
        where += QLatin1Char(':') + QString::number(Port);
    return QStringLiteral("%1 (%2)").arg(DatabaseName, where);
}

bool TTreeDatabase::operator==(const TTreeDatabase &o) const
{
    return Engine == o.Engine && DatabaseName == o.DatabaseName && Host == o.Host && Port == o.Port &&
           User == o.User && Password == o.Password;
}

// ---------------------------------------------------------------------------
// TTreeDataSet

const TClassInfo &TTreeDataSet::StaticClassInfo()
{
    static const TClassInfo info("TTreeDataSet", &TComponent::StaticClassInfo());
    return info;
}

TTreeDataSet::TTreeDataSet(TComponent *owner) : TComponent(owner), FConnectionName(NextConnectionName()) {}

TTreeDataSet::~TTreeDataSet()
{
    // Details lose their master; the master forgets this detail.
    for (TTreeDataSet *d : FDetails)
        d->FMaster = nullptr;
    FDetails.clear();
    SetMaster(nullptr, QString(), QString());
    Close();
}

void TTreeDataSet::SetDatabase(const TTreeDatabase &database)
{
    if (database == FDatabase)
        return;
    Close();
    FDatabase = database;
}

void TTreeDataSet::SetTableName(const QString &value)
{
    if (value == FTableName)
        return;
    Close();
    FTableName = value;
}

void TTreeDataSet::SetSQL(const QString &value)
{
    if (value == FSQL)
        return;
    Close();
    FSQL = value;
}

QString TTreeDataSet::SourceName() const
{
    if (!FSQL.trimmed().isEmpty())
        return FSQL.trimmed();
    return FTableName.isEmpty() ? Name() : FTableName;
}

void TTreeDataSet::SetMaster(TTreeDataSet *master, const QString &masterField, const QString &detailField)
{
    if (master == this)
        master = nullptr;
    // A master that follows this dataset (directly or further up) would
    // make a ring.
    for (TTreeDataSet *m = master; m; m = m->FMaster)
        if (m == this)
            return;
    if (FMaster) {
        auto &list = FMaster->FDetails;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    FMaster = master;
    FMasterField = master ? masterField : QString();
    FDetailField = master ? detailField : QString();
    if (FMaster)
        FMaster->FDetails.push_back(this);
    FLoadedKeyValid = false;
}

void TTreeDataSet::OpenConnection()
{
    if (QSqlDatabase::contains(FConnectionName))
        return;
    try {
        Connect(FConnectionName, FDatabase);
    } catch (...) {
        QSqlDatabase::removeDatabase(FConnectionName);
        throw;
    }
}

QString TTreeDataSet::SelectText(bool filtered) const
{
    const QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
    const QSqlDriver *driver = db.driver();
    QString source;
    if (!FSQL.trimmed().isEmpty()) {
        QString sql = FSQL.trimmed();
        while (sql.endsWith(QLatin1Char(';')))
            sql.chop(1);
        source = QStringLiteral("(%1) AS dendrix_source").arg(sql);
    } else {
        source = driver->escapeIdentifier(FTableName, QSqlDriver::TableName);
    }
    QString text = QStringLiteral("SELECT * FROM ") + source;
    if (filtered)
        text += QStringLiteral(" WHERE ") + driver->escapeIdentifier(FDetailField, QSqlDriver::FieldName) +
                QStringLiteral(" = ?");
    return text;
}

QVariant TTreeDataSet::MasterKey() const
{
    if (!FMaster || !FMaster->Active() || FMaster->Eof())
        return {};
    return FMaster->Value(FMaster->FieldIndex(FMasterField));
}

void TTreeDataSet::ReadRows()
{
    FRows.clear();
    FCurrent = 0;
    const bool filtered = FMaster && !FDetailField.isEmpty();
    QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(SelectText(filtered)))
        throw EDBTreeException(FormatMessage(SDBQueryFailed, {SourceName(), q.lastError().text()}));
    if (filtered) {
        FLoadedKey = MasterKey();
        FLoadedKeyValid = true;
        q.addBindValue(FLoadedKey);
    }
    if (!q.exec())
        throw EDBTreeException(FormatMessage(SDBQueryFailed, {SourceName(), q.lastError().text()}));
    const QSqlRecord record = q.record();
    FFieldNames.clear();
    for (int i = 0; i < record.count(); ++i)
        FFieldNames << record.fieldName(i);
    const int columns = record.count();
    while (q.next()) {
        std::vector<QVariant> row(static_cast<size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row[static_cast<size_t>(i)] = q.value(i);
        FRows.push_back(std::move(row));
    }
}

void TTreeDataSet::Open()
{
    if (FActive)
        return;
    if (FSQL.trimmed().isEmpty() && FTableName.isEmpty())
        throw EDBTreeException(FormatMessage(SDBNoSource, {Name()}));
    OpenConnection();
    ReadRows();
    FActive = true;
}

void TTreeDataSet::Close()
{
    FActive = false;
    FRows.clear();
    FFieldNames.clear();
    FCurrent = 0;
    FLoadedKeyValid = false;
    if (QSqlDatabase::contains(FConnectionName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(FConnectionName);
    }
}

int TTreeDataSet::FieldIndex(const QString &name) const
{
    for (int i = 0; i < FFieldNames.size(); ++i)
        if (FFieldNames[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TTreeDataSet::First()
{
    if (FActive && FMaster && !FDetailField.isEmpty()) {
        const QVariant key = MasterKey();
        if (!FLoadedKeyValid || key != FLoadedKey)
            ReadRows();
    }
    FCurrent = 0;
}

void TTreeDataSet::Next()
{
    if (FCurrent < RecordCount())
        ++FCurrent;
}

void TTreeDataSet::GotoBookmark(int bookmark)
{
    FCurrent = bookmark < 0 || bookmark > RecordCount() ? RecordCount() : bookmark;
}

QVariant TTreeDataSet::Value(int field) const
{
    if (Eof() || field < 0 || field >= FFieldNames.size())
        return {};
    return FRows[static_cast<size_t>(FCurrent)][static_cast<size_t>(field)];
}

QString TTreeDataSet::DisplayText(int field) const
{
    const QVariant v = Value(field);
    if (v.isNull())
        return {};
    return v.toString();
}

bool TTreeDataSet::IntValue(int field, int &value) const
{
    const QVariant v = Value(field);
    value = 0;
    if (v.isNull())
        return true;
    const QString text = v.toString().trimmed();
    if (text.isEmpty())
        return true;
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (ok) {
        value = static_cast<int>(std::clamp<qlonglong>(n, INT_MIN, INT_MAX));
        return true;
    }
    // 3.0 from a floating column still names record 3.
    const double d = text.toDouble(&ok);
    if (ok && d == static_cast<double>(static_cast<qlonglong>(d)) && d >= INT_MIN && d <= INT_MAX) {
        value = static_cast<int>(d);
        return true;
    }
    return false;
}

QStringList TTreeDataSet::TableNames(const TTreeDatabase &database)
{
    const QString name = NextConnectionName();
    QStringList tables;
    {
        QSqlDatabase db;
        try {
            db = Connect(name, database);
        } catch (...) {
            QSqlDatabase::removeDatabase(name);
            throw;
        }
        tables = db.tables(QSql::Tables) + db.tables(QSql::Views);
        tables.sort(Qt::CaseInsensitive);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return tables;
}
