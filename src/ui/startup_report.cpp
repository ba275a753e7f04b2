#include "ui/startup_report.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#ifdef Q_OS_LINUX
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#endif

namespace dorvane::ui {
namespace {

// Milliseconds the process ran before main: the loader and static initialisation count.
qint64 msBeforeMain() {
#ifdef Q_OS_LINUX
    // Field 22 of /proc/self/stat is the start, in clock ticks since boot; the command
    // name (field 2) may hold blanks, so fields are counted after its closing parenthesis.
    std::ifstream file("/proc/self/stat");
    const std::string stat((std::istreambuf_iterator<char>(file)), {});
    const auto nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) return 0;
    std::istringstream fields(stat.substr(nameEnd + 2));
    std::string field;
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks)) return 0;
    timespec sinceBoot{};
    clock_gettime(CLOCK_BOOTTIME, &sinceBoot);
    const qint64 nowMs = qint64(sinceBoot.tv_sec) * 1000 + sinceBoot.tv_nsec / 1000000;
    return nowMs - qint64(startTicks) * 1000 / sysconf(_SC_CLK_TCK);
#else
    return 0;
#endif
}

class StartupWatch : public QObject {
  public:
    explicit StartupWatch(qint64 beforeMain) : beforeMain_(beforeMain) { sinceMain_.start(); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && shownMs_ < 0 && watched->isWidgetType())
            shownMs_ = now();
        auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed() && shownMs_ >= 0) {
            std::printf("startup ms: shown %lld, on screen %lld\n",
                        static_cast<long long>(shownMs_), static_cast<long long>(now()));
            std::fflush(stdout);
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        }
        return false;
    }

  private:
    qint64 now() const { return beforeMain_ + sinceMain_.elapsed(); }

    qint64 beforeMain_;
    QElapsedTimer sinceMain_;
    qint64 shownMs_ = -1;
};

}  // namespace

void reportStartupWhenAsked(QApplication& application) {
    if (qEnvironmentVariableIsEmpty("DORVANE_REPORT_STARTUP")) return;
    auto* watch = new StartupWatch(msBeforeMain());
    watch->setParent(&application);
    application.installEventFilter(watch);
}

}  // namespace dorvane::ui
