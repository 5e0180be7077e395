#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "cipher/rijndael.h"
#include "digest/clsTimer.h"
#include "jobs/file_format.h"
#include "jobs/job_report.h"
#include "jobs/job_view.h"

namespace marnoq::jobs {

// The program is closing: leave the job at once, removing what it was writing.
struct JobAborted {};

// A refusal that ends the job like a file error, with its own message.
class JobFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The frame both jobs share: the cipher and its events, the start of the run, the timer, the
// error exit and the rest state at the end.
class JobRun {
public:
    JobRun(JobView& view, StartButton button, FileList list, std::int16_t jobMode);
    JobRun(const JobRun&) = delete;
    JobRun& operator=(const JobRun&) = delete;
    ~JobRun();

    cRijndael& cipher() { return cipher_; }
    JobView& view() { return view_; }
    int lastIndex() const { return last_; }

    // Pointer, status line, key, timer, JobMode, cancel caption and flag, in that order.
    void start(const KeyBytes& key);
    // Selects entry i and returns its path.
    std::string selectFile(int index);
    bool cancelRequested();
    // Throws JobAborted if the program is closing; the last call before an output is committed.
    void leaveIfClosing();
    // Whether the output may go where a file exists already: asks the view unless the user
    // said "replace all" in this job; "cancel" also ends the job after this file.
    bool mayReplace(const std::string& path);
    // The question for a file that takes the output's name while the output is written.
    std::function<bool()> askIfAppeared(const std::string& path);
    void appendTime(const std::string& label);
    void restoreRest(MousePointer pointer);
    void message(const std::string& text);
    // Lines added to every checksum message of this job: what most likely caused it.
    std::string checksumCause;

    // Runs the file loop; any error ends the job with its message, as the error exit does.
    void guarded(JobReport& report, const std::function<void()>& loop);

private:
    class Events : public CipherEvents {
    public:
        explicit Events(JobView& view) : view_(view) {}
        void showMessage(const std::string& text) override;
        void letEventsRun() override;
        void Progress(const float& Percent) override;

    private:
        JobView& view_;
    };

    void errorExit(JobReport& report, const std::string& text);

    JobView& view_;
    StartButton button_;
    FileList list_;
    std::int16_t jobMode_;
    int last_;
    std::string current_;
    Events events_;
    cRijndael cipher_;
    clsTimer timer_;
};

// Messages before the run starts: the job's box, and the focus where the user should type.
void refuseInput(JobView& view, JobReport& report, const char* text);
void refuseInput(JobView& view, JobReport& report, const char* text, Control focus);

}  // namespace marnoq::jobs
