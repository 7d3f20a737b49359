// qv::qt::QtSqlConnection: a Qt SQL database as the combo box's connection (the OpenRecordset
// kind that offers the connection interface), so that any Qt SQL driver serves.
//
//     auto db = qv::qt::QtSqlConnection::Connect("QSQLITE", "/data/shop.sqlite");
//     combo->box().Connection(db);
//     // or one the application opened itself:
//     auto same = qv::qt::QtSqlConnection::Use(QSqlDatabase::database("shop"));
//
// A lookup runs in a transaction that is rolled back when the result set closes (where the
// driver has transactions), and a statement that returns no rows is refused; so lookups change
// nothing. Errors are error 3000 with the driver's message. Its description, "qtsql:DRIVER:NAME",
// opens it again through OpenConnection once RegisterQtSql() has run.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <memory>

#include "library/DataSource.h"

namespace qv::qt {

class QtSqlConnection final : public DatabaseConnection {
  public:
    // Opens database `name` with `driver` ("QSQLITE", "QPSQL", ...); for server drivers the
    // connect options and the host come from `options` (QSqlDatabase::setConnectOptions) or
    // the driver's defaults. Error 3000 when it cannot.
    static std::shared_ptr<QtSqlConnection> Connect(const QString& driver, const QString& name,
                                                    const QString& options = {});
    // A database the application has opened (it stays the application's).
    static std::shared_ptr<QtSqlConnection> Use(const QSqlDatabase& database);

    std::shared_ptr<Object> Clone() const override;
    String Description() const override;

  protected:
    std::unique_ptr<Cursor> Execute(const String& sql) override;

  private:
    struct Session;
    explicit QtSqlConnection(std::shared_ptr<Session> session);
    std::shared_ptr<Session> session_;
};

// Lets OpenConnection open "qtsql:DRIVER:NAME" descriptions; more calls change nothing.
void RegisterQtSql();

}  // namespace qv::qt
