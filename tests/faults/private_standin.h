#pragma once
// A SQL Server stand-in of the test's own, on its own port and over the shared backend,
// so a test can kill it without taking the shared test servers down.

#include <QProcess>
#include <QString>
#include <QStringList>

#include "db/values/connection_strings.h"

namespace dorvane::testing {

class PrivateStandin {
  public:
    // Started and listening, or the test has failed; `options` are the stand-in's own, such
    // as "--refuse-bulk-load start".
    explicit PrivateStandin(const QStringList& options = {});
    ~PrivateStandin();  // killed if still running
    PrivateStandin(const PrivateStandin&) = delete;
    PrivateStandin& operator=(const PrivateStandin&) = delete;

    db::MssqlProfile profile() const;
    bool running() const { return process_.state() != QProcess::NotRunning; }
    void kill();

  private:
    QProcess process_;
    QString port_;
};

}  // namespace dorvane::testing
