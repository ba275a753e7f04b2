#pragma once
#include <QString>
#include <stdexcept>

namespace dorvane::db {

// A failure of the database layer: the driver's or server's description text, with its
// SQLSTATE and native error number where the driver gave them.
class DbError : public std::runtime_error {
  public:
    explicit DbError(const QString& description, const QString& sqlState = QString(),
                     int nativeError = 0)
        : std::runtime_error(description.toStdString()),
          description_(description),
          sqlState_(sqlState),
          nativeError_(nativeError) {}

    const QString& description() const { return description_; }
    const QString& sqlState() const { return sqlState_; }
    int nativeError() const { return nativeError_; }

  private:
    QString description_;
    QString sqlState_;
    int nativeError_;
};

}  // namespace dorvane::db
