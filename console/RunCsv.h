// A monitoring run's two logs as CSV files' bytes: the list's captions and a
// "Time" column first, then per row the cells the list shows (the same
// texts, from ReplyText) and the moment the row was made, newest first.
// Each row's line is made once, when the row comes, and kept beside the row
// while it is listed, all of a log's lines in one span: an export of 10001
// rows then costs about what writing their bytes does, and pinging pays
// some 100 ns a reply for it. Portable; GUI thread only, like the run.
#pragma once

#include <string>
#include <vector>

#include "console/ExportText.h"
#include "console/MonitorRun.h"
#include "console/NewestFirstText.h"

enum class TRunLog { Echoes, Errors };

class TRunCsv : public TMonitorRunObserver {
public:
    // Takes the rows `run` holds already and follows it from then on; the
    // run must outlive this.
    TRunCsv(TMonitorRun& run, TUtf8Converter toUtf8);
    ~TRunCsv();
    TRunCsv(const TRunCsv&) = delete;
    TRunCsv& operator=(const TRunCsv&) = delete;

    // The whole file, handed to `sink` in two pieces: the byte-order mark
    // and the captions, then the rows. `captions` are the list's own, one
    // per column it shows.
    void Write(TRunLog log, const std::vector<std::string>& captions, const TByteSink& sink) const;

private:
    void EchoAdded(const TMonitorRun& run, const TEchoChange& change) override;
    void ErrorAdded(const TMonitorRun& run, const TRowChange& change) override;
    void EchoesCleared(const TMonitorRun& run) override;
    void ErrorsCleared(const TMonitorRun& run) override;

    std::string EchoLine(int row) const;
    std::string ErrorLine(int row) const;

    TMonitorRun& run_;
    TUtf8Converter toUtf8_;
    // Line for row beside the run's lists, each with its CR LF.
    TNewestFirstText echoLines_;
    TNewestFirstText errorLines_;
};
