// The same encrypt job through the window (offscreen) and through the command line's view:
// the window's repaints and event processing must not slow the job down.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <vector>

#include "cli/cli_view.h"
#include "io/output_file.h"
#include "jobs/encrypt_job.h"
#include "ui/frm_aes.h"

namespace marnoq {
namespace {

const std::string kPlain = "/tmp/marnoq-window-bench";

class SilentDialogs : public ui::UserDialogs {
  public:
    void message(QWidget*, const QString&, jobs::MessageIcon, const QString&) override {}
    // Every run writes the same output again.
    jobs::ReplaceAnswer askReplace(QWidget*, const QString&) override {
        return jobs::ReplaceAnswer::Replace;
    }
    QStringList openFiles(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

void writePlain() {
    std::vector<std::uint8_t> chunk(1 << 20, 0x33);
    io::OutputFile out = io::OutputFile::createOrTruncate(kPlain);
    for (int i = 0; i < 256; ++i) {
        out.write(chunk);
    }
    out.close();
}

void BM_EncryptThroughWindow(benchmark::State& state) {
    writePlain();
    SilentDialogs dialogs;
    ui::frmAES window(dialogs, {kPlain});
    window.show();
    for (auto& box : window.Text3) {
        box.setText("pw");
    }
    for (auto _ : state) {
        window.cmdEnc.click();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (256 << 20));
}
BENCHMARK(BM_EncryptThroughWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_EncryptThroughCommandLineView(benchmark::State& state) {
    writePlain();
    cli::CliView view(stderr, false, false, nullptr);
    view.setFiles(jobs::FileList::Encrypt, {kPlain});
    view.setPasswords("pw", "pw");
    for (auto _ : state) {
        jobs::cmdEnc_Click(view);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (256 << 20));
    ::unlink(kPlain.c_str());
    ::unlink((kPlain + ".aes").c_str());
}
BENCHMARK(BM_EncryptThroughCommandLineView)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace marnoq

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
