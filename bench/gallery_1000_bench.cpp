// korvahost showing the example gallery replicated to 1,000 controls, against
// korvahost on an empty form (whose figures are the start-up the larger form
// pays as well), on the offscreen platform:
// - "window": from start until the form's window is shown and has been
//   painted once (korvahost --print-windows reports then), and the peak
//   resident memory up to that moment;
// - "screenshot": from start until the whole form, every control of it, is
//   rendered and written to a PNG; the full-size image of a form this large
//   is a good part of the memory here.
#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <chrono>
#include <vector>

extern char** environ;

namespace {

constexpr int kControls = 1000;

// The gallery's control blocks, each copied under a new name and moved down
// by a whole gallery's height per round.
QByteArray replicatedGallery() {
    QFile f(QStringLiteral(KORVA_SOURCE_DIR "/examples/gallery.form"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(f.readAll());
    const QRegularExpression block(QStringLiteral("^Begin (\\S+) (\\S+)\\n(.*?)^End$"),
                                   QRegularExpression::MultilineOption |
                                       QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression top(QStringLiteral("^(\\s*Top = )(\\d+)$"), QRegularExpression::MultilineOption);
    QStringList blocks;
    for (auto it = block.globalMatch(text); it.hasNext();)
        blocks << it.next().captured(0);
    if (blocks.isEmpty())
        return {};
    constexpr int kRoundHeight = 9000; // twips: below the whole gallery
    QString out = QStringLiteral("korvactl form 1\n");
    for (int i = 0; i < kControls; ++i) {
        const int round = i / static_cast<int>(blocks.size());
        QString b = blocks[i % blocks.size()];
        b.replace(block, QStringLiteral("Begin \\1 \\2_%1\n\\3End").arg(round));
        const auto m = top.match(b);
        if (m.hasMatch())
            b.replace(m.capturedStart(2), m.capturedLength(2),
                      QString::number(m.captured(2).toInt() + round * kRoundHeight));
        out += b + u'\n';
    }
    return out.toUtf8();
}

struct Run {
    double millis = 0;
    long maxRssKb = 0;
    bool ok = false;
};

// Runs korvahost with `args`; with `until` it is stopped once a line of its
// output starts so.
Run runKorvahost(const QStringList& args, const QByteArray& until) {
    const QByteArray host = KORVAHOST_PATH;
    std::vector<QByteArray> keep = {host};
    for (const QString& a : args)
        keep.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : keep)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t io;
    posix_spawn_file_actions_init(&io);
    posix_spawn_file_actions_adddup2(&io, out[1], 1);
    posix_spawn_file_actions_addclose(&io, out[0]);
    posix_spawn_file_actions_addopen(&io, 2, "/dev/null", O_WRONLY, 0);
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, host.constData(), &io, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&io);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return {};
    }
    // Read its output (the event log) so it never blocks on a full pipe.
    QByteArray pending;
    bool reached = until.isEmpty();
    char buf[65536];
    for (ssize_t n; !reached && (n = read(out[0], buf, sizeof buf)) > 0;) {
        pending.append(buf, n);
        for (qsizetype nl; (nl = pending.indexOf('\n')) >= 0; pending.remove(0, nl + 1))
            if (pending.startsWith(until)) {
                reached = true;
                break;
            }
    }
    auto t1 = std::chrono::steady_clock::now();
    if (!until.isEmpty())
        kill(pid, SIGTERM);
    while (read(out[0], buf, sizeof buf) > 0) {
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return {};
    if (until.isEmpty()) // it ends once the frame is written
        t1 = std::chrono::steady_clock::now();
    const bool ok = until.isEmpty() ? WIFEXITED(status) && WEXITSTATUS(status) == 0 : reached;
    return {std::chrono::duration<double, std::milli>(t1 - t0).count(), usage.ru_maxrss, ok};
}

void measure(benchmark::State& state, const QByteArray& formText, bool window) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    const QString form = dir.filePath(QStringLiteral("bench.form"));
    QFile f(form);
    if (formText.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(formText) != formText.size()) {
        state.SkipWithError("cannot write the form");
        return;
    }
    f.close();
    double millis = 0;
    long rss = 0;
    for (auto _ : state) {
        const Run r =
            window ? runKorvahost({form, QStringLiteral("--print-windows")}, "window ")
                   : runKorvahost({form, QStringLiteral("--screenshot"), dir.filePath("shot.png")}, {});
        if (!r.ok) {
            state.SkipWithError("korvahost failed");
            return;
        }
        millis += r.millis;
        rss = std::max(rss, r.maxRssKb);
        state.SetIterationTime(r.millis / 1000.0);
    }
    state.counters["first_frame_ms"] = millis / static_cast<double>(state.iterations());
    state.counters["peak_rss_kb"] = static_cast<double>(rss);
}

// The empty form has no control to print: its window run ends at the first
// line whatever it is, so it is measured by its screenshot alone.
void BM_KorvahostEmptyForm_screenshot(benchmark::State& state) { measure(state, "korvactl form 1\n", false); }
void BM_KorvahostGallery1000_window(benchmark::State& state) { measure(state, replicatedGallery(), true); }
void BM_KorvahostGallery1000_screenshot(benchmark::State& state) {
    measure(state, replicatedGallery(), false);
}

BENCHMARK(BM_KorvahostEmptyForm_screenshot)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KorvahostGallery1000_window)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KorvahostGallery1000_screenshot)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
