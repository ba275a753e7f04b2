#pragma once
// An ODBC connection string taken apart into its keyword=value items and put together
// again, following the ODBC rules: items end at ";", a value in braces may hold ";" and
// "=", and "}}" inside braces stands for "}".

#include <QString>
#include <vector>

namespace dorvane::db {

struct ConnectionItem {
    QString key;
    QString value;        // without braces, "}}" undone
    bool braced = false;  // written in braces, kept so when put together again
};

class ConnectionItems {
  public:
    static ConnectionItems parse(const QString& connectionString);
    QString toString() const;

    // The value of the first item with this keyword (ignoring case); empty when absent.
    QString value(const QString& key) const;
    bool contains(const QString& key) const;
    // Replaces the value of every item with this keyword, or appends one item.
    void set(const QString& key, const QString& value);
    // Appends the item unless the keyword is present already.
    void setDefault(const QString& key, const QString& value);

    const std::vector<ConnectionItem>& items() const { return items_; }

  private:
    std::vector<ConnectionItem> items_;
};

}  // namespace dorvane::db
