#include "db/bulk/freetds_bulk_copy_check.h"

#include <dlfcn.h>
#include <link.h>

#include <memory>

#include <sqlext.h>

namespace dorvane::db {
namespace {

constexpr SQLUSMALLINT kFreeTdsTdsVersionInfo = 1300;

QString infoText(SQLHDBC dbc, SQLUSMALLINT type) {
    SQLWCHAR text[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(dbc, type, text, sizeof text, &length))) return QString();
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text));
}

// The loaded library whose file name is `name` or begins with it (libtdsodbc.so.0).
QString loadedLibraryNamed(const QString& name) {
    struct Search {
        QByteArray name;
        QString found;
    } search{name.toLocal8Bit(), QString()};
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            auto* s = static_cast<Search*>(data);
            const QByteArray path(info->dlpi_name);
            const QByteArray file = path.mid(path.lastIndexOf('/') + 1);
            if (s->name.isEmpty() || !file.startsWith(s->name)) return 0;
            s->found = QString::fromLocal8Bit(path);
            return 1;
        },
        &search);
    return search.found;
}

struct LibraryClose {
    void operator()(void* handle) const noexcept { dlclose(handle); }
};

// Only what the library itself defines: dlsym also searches the libraries it depends on.
bool defines(void* library, const char* symbol) {
    void* address = dlsym(library, symbol);
    link_map* map = nullptr;
    Dl_info info{};
    return address && dlinfo(library, RTLD_DI_LINKMAP, &map) == 0 && dladdr(address, &info) &&
           info.dli_fname && qstrcmp(info.dli_fname, map->l_name) == 0;
}

}  // namespace

BulkCopyDriver bulkCopyDriverOf(SQLHDBC dbc) {
    BulkCopyDriver driver;
    const QString file = infoText(dbc, SQL_DRIVER_NAME);
    driver.name = (file + u' ' + infoText(dbc, SQL_DRIVER_VER)).trimmed();
    SQLINTEGER tdsVersion = 0;
    driver.answersFreeTdsInfo = SQL_SUCCEEDED(
        SQLGetInfoW(dbc, kFreeTdsTdsVersionInfo, &tdsVersion, sizeof tdsVersion, nullptr));
    driver.file = loadedLibraryNamed(file);
    readExports(driver);
    return driver;
}

void readExports(BulkCopyDriver& driver) {
    driver.exportsSetConnectAttrW = driver.exportsBcpInitW = false;
    if (driver.file.isEmpty()) return;
    // Never unloaded: a driver unloaded here would leave what its start-up allocated behind.
    const std::unique_ptr<void, LibraryClose> library(
        dlopen(driver.file.toLocal8Bit().constData(), RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE));
    if (!library) {
        driver.file.clear();
        return;
    }
    driver.exportsSetConnectAttrW = defines(library.get(), "SQLSetConnectAttrW");
    driver.exportsBcpInitW = defines(library.get(), "bcp_initW");
}

std::optional<QString> bulkCopyMismatch(const BulkCopyDriver& driver) {
    const QString start =
        QStringLiteral("The fast copy to SQL Server needs FreeTDS's ODBC driver: ");
    if (!driver.answersFreeTdsInfo)
        return start + QStringLiteral(
                           "the driver in use (%1) is another, which does not read "
                           "FreeTDS's bulk-copy attributes.")
                           .arg(driver.name);
    if (driver.file.isEmpty())
        return start + QStringLiteral(
                           "the library of the driver in use (%1) cannot be found "
                           "to check what it exports.")
                           .arg(driver.name);
    if (!driver.exportsSetConnectAttrW)
        return start + QStringLiteral(
                           "%1 does not export SQLSetConnectAttrW, through which the "
                           "bulk copy hands it its parameters.")
                           .arg(driver.file);
    if (driver.exportsBcpInitW)
        return start + QStringLiteral(
                           "%1 exports bcp_initW, so it offers bulk copy as functions "
                           "and not through FreeTDS's attributes.")
                           .arg(driver.file);
    return std::nullopt;
}

}  // namespace dorvane::db
