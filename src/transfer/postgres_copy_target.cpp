#include "transfer/postgres_copy_target.h"

#include <QByteArray>

#include "sql/copy_text.h"
#include "sql/postgres_copy_statement.h"
#include "transfer/refused_rows.h"

namespace dorvane::transfer {
namespace {

// Rows go to the server in buffers of about this size: few calls, little memory.
constexpr qsizetype kFlushBytes = qsizetype{1} << 20;

class CopyRows : public TableRowWriter {
  public:
    CopyRows(db::PostgresCopySession& session, const QString& table,
             const std::vector<bool>& unquoted, const std::vector<QString>& columns)
        : session_(session),
          table_(table),
          unquoted_(unquoted),
          columns_(columns),
          statement_(sql::to_postgres::copyStatement(table_)) {
        session_.startCopy(statement_, table_);
    }

    void write(const SourceRowValues& row, std::int64_t rowNumber) override {
        sql::appendCopyRow(buffer_, row, unquoted_, sql::CopyRowPlace{table_, columns_, rowNumber});
        if (buffer_.size() >= kFlushBytes) flush();
    }

    void finish() override {
        flush();
        try {
            session_.endCopy();
        } catch (const db::PostgresCopyError& refused) {
            if (refused.row() == 0) throw;
            // The server names the row as the copy row by row names a refused value.
            throw RowsRefused(
                QStringLiteral("Table %1, row %2: %3")
                    .arg(table_, QString::number(refused.row()), refused.description()),
                statementWithRows(statement_, refused.row(), refused.row()));
        }
    }

    // The rollback ends the copy.
    void abandon() noexcept override {
        buffer_.clear();
        spare_.clear();
    }
    QString statementText() const override { return statement_; }

  private:
    // The session sends the buffer while the next rows go into the spare, which the
    // session let go of before it took this one: two buffers serve the whole copy.
    void flush() {
        if (buffer_.isEmpty()) return;
        session_.putRows(buffer_);
        buffer_.swap(spare_);
        buffer_.resize(0);
    }

    db::PostgresCopySession& session_;
    const QString& table_;
    const std::vector<bool>& unquoted_;
    const std::vector<QString>& columns_;
    const QString statement_;
    QByteArray buffer_;
    QByteArray spare_;
};

}  // namespace

PostgresCopyTarget::PostgresCopyTarget(QString connectionString, QString table,
                                       std::vector<bool> unquoted, std::vector<QString> columns,
                                       db::WhileWaiting whileWaiting)
    : connectionString_(std::move(connectionString)),
      table_(std::move(table)),
      unquoted_(std::move(unquoted)),
      columns_(std::move(columns)) {
    session_.setWhileWaiting(std::move(whileWaiting));
}

void PostgresCopyTarget::begin() {
    if (!session_.isOpen()) session_.open(connectionString_);
    session_.begin();
}

void PostgresCopyTarget::restart() {
    session_.rollback();
    session_.begin();
}

std::unique_ptr<TableRowWriter> PostgresCopyTarget::rowWriter() {
    return std::make_unique<CopyRows>(session_, table_, unquoted_, columns_);
}

}  // namespace dorvane::transfer
