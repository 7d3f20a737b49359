#include "hosts/qt/QtSqlConnection.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <mutex>

#include "hosts/qt/QtConvert.h"

namespace qv::qt {

namespace {

constexpr char16_t kSource[] = u"QtSql";

[[noreturn]] void Fail(const QSqlError& e) {
    QString text = e.text().trimmed();
    if (text.isEmpty()) text = QStringLiteral("The database reported an error");
    Raise(err::DatabaseError, kSource, FromQString(text));
}

class QtSqlCursor final : public Cursor {
  public:
    QtSqlCursor(std::shared_ptr<void> keep, const QSqlDatabase& db, bool rollBack)
        : keep_(std::move(keep)), db_(db), query_(db_), rollBack_(rollBack) {
        query_.setForwardOnly(true);
    }
    ~QtSqlCursor() override { Close(); }

    void Run(const QString& sql) {
        if (!query_.exec(sql)) Fail(query_.lastError());
        if (!query_.isSelect())
            Raise(err::DatabaseError, kSource, u"A lookup runs one statement that only reads");
        const QSqlRecord record = query_.record();
        for (int i = 0; i < record.count(); ++i) names_.push_back(FromQString(record.fieldName(i)));
        Next();
    }
    int32_t Columns() const override { return static_cast<int32_t>(names_.size()); }
    String ColumnName(int32_t column) const override {
        return column >= 0 && column < Columns() ? names_[static_cast<size_t>(column)] : String();
    }
    bool AtEnd() const override { return done_; }
    Variant Value(int32_t column) override { return FromQVariant(query_.value(column)); }
    void Next() override {
        if (done_) return;
        if (query_.next()) return;
        done_ = true;
        if (query_.lastError().isValid()) Fail(query_.lastError());
    }
    void Close() override {
        if (closed_) return;
        closed_ = done_ = true;
        query_.finish();
        query_ = QSqlQuery();
        if (rollBack_) db_.rollback();
    }

  private:
    std::shared_ptr<void> keep_;
    QSqlDatabase db_;
    QSqlQuery query_;
    bool rollBack_;
    bool done_ = false, closed_ = false;
    std::vector<String> names_;
};

}  // namespace

struct QtSqlConnection::Session {
    QString connectionName;
    bool owned = false;  // made here: removed with the last copy
    ~Session() {
        if (!owned) return;
        {
            QSqlDatabase db = QSqlDatabase::database(connectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(connectionName);
    }
    QSqlDatabase Database() const { return QSqlDatabase::database(connectionName, false); }
};

QtSqlConnection::QtSqlConnection(std::shared_ptr<Session> session)
    : DatabaseConnection(Kind::Connection, kSource), session_(std::move(session)) {}

std::shared_ptr<QtSqlConnection> QtSqlConnection::Connect(const QString& driver,
                                                          const QString& name,
                                                          const QString& options) {
    static std::atomic<int> next{0};
    auto session = std::make_shared<Session>();
    session->connectionName = QStringLiteral("qv_qtsql_%1").arg(++next);
    session->owned = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, session->connectionName);
        if (!db.isValid())
            Raise(err::DatabaseError, kSource, u"No Qt SQL driver " + FromQString(driver));
        db.setDatabaseName(name);
        if (!options.isEmpty()) db.setConnectOptions(options);
        if (!db.open()) Fail(db.lastError());
    }
    return std::shared_ptr<QtSqlConnection>(new QtSqlConnection(std::move(session)));
}

std::shared_ptr<QtSqlConnection> QtSqlConnection::Use(const QSqlDatabase& database) {
    auto session = std::make_shared<Session>();
    session->connectionName = database.connectionName();
    return std::shared_ptr<QtSqlConnection>(new QtSqlConnection(std::move(session)));
}

std::shared_ptr<Object> QtSqlConnection::Clone() const {
    return std::shared_ptr<QtSqlConnection>(new QtSqlConnection(session_));
}

String QtSqlConnection::Description() const {
    const QSqlDatabase db = session_->Database();
    return u"qtsql:" + FromQString(db.driverName()) + u":" + FromQString(db.databaseName());
}

std::unique_ptr<Cursor> QtSqlConnection::Execute(const String& sql) {
    QSqlDatabase db = session_->Database();
    if (!db.isOpen() && !db.open()) Fail(db.lastError());
    // In a transaction of its own that is rolled back: whatever the text does is undone.
    const bool rollBack = db.driver()->hasFeature(QSqlDriver::Transactions) && db.transaction();
    auto cursor = std::make_unique<QtSqlCursor>(session_, db, rollBack);
    cursor->Run(ToQString(sql));
    return cursor;
}

void RegisterQtSql() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterConnectionScheme(
            u"qtsql:", [](const String& d) -> std::shared_ptr<DatabaseConnection> {
                const QString rest = ToQString(StringView(d).substr(6));
                const qsizetype colon = rest.indexOf(u':');
                if (colon < 0)
                    Raise(err::InvalidProcedureCall, kSource,
                          u"A description is qtsql:DRIVER:NAME");
                return QtSqlConnection::Connect(rest.left(colon), rest.mid(colon + 1));
            });
    });
}

}  // namespace qv::qt
