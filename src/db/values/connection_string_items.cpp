#include "db/values/connection_string_items.h"

#include "db/values/connection_strings.h"

namespace dorvane::db {

ConnectionItems ConnectionItems::parse(const QString& s) {
    ConnectionItems result;
    qsizetype at = 0;
    const qsizetype n = s.size();
    while (at < n) {
        const qsizetype equals = s.indexOf(u'=', at);
        const qsizetype semicolon = s.indexOf(u';', at);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            // An item without "=" carries nothing; skip it as drivers do.
            if (semicolon < 0) break;
            at = semicolon + 1;
            continue;
        }
        ConnectionItem item;
        item.key = s.mid(at, equals - at).trimmed();
        at = equals + 1;
        while (at < n && s[at] == u' ') ++at;
        if (at < n && s[at] == u'{') {
            item.braced = true;
            ++at;
            while (at < n) {
                if (s[at] == u'}') {
                    if (at + 1 < n && s[at + 1] == u'}') {
                        item.value += u'}';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                item.value += s[at++];
            }
            const qsizetype end = s.indexOf(u';', at);
            at = end < 0 ? n : end + 1;
        } else {
            const qsizetype end = s.indexOf(u';', at);
            item.value = s.mid(at, (end < 0 ? n : end) - at);
            at = end < 0 ? n : end + 1;
        }
        if (!item.key.isEmpty()) result.items_.push_back(std::move(item));
    }
    return result;
}

QString ConnectionItems::toString() const {
    QString s;
    for (const ConnectionItem& item : items_) {
        s += item.key;
        s += u'=';
        if (item.braced) {
            QString escaped = item.value;
            escaped.replace(QStringLiteral("}"), QStringLiteral("}}"));
            s += u'{' + escaped + u'}';
        } else {
            s += connectionStringValue(item.value);
        }
        s += u';';
    }
    return s;
}

QString ConnectionItems::value(const QString& key) const {
    for (const ConnectionItem& item : items_)
        if (item.key.compare(key, Qt::CaseInsensitive) == 0) return item.value;
    return QString();
}

bool ConnectionItems::contains(const QString& key) const {
    for (const ConnectionItem& item : items_)
        if (item.key.compare(key, Qt::CaseInsensitive) == 0) return true;
    return false;
}

void ConnectionItems::set(const QString& key, const QString& value) {
    bool found = false;
    for (ConnectionItem& item : items_) {
        if (item.key.compare(key, Qt::CaseInsensitive) != 0) continue;
        item.value = value;
        item.braced = false;
        found = true;
    }
    if (!found) items_.push_back({key, value, false});
}

void ConnectionItems::setDefault(const QString& key, const QString& value) {
    if (!contains(key)) items_.push_back({key, value, false});
}

}  // namespace dorvane::db
