// The texts the console's lists leave the program as: RFC 4180 CSV files
// (UTF-8 with a byte-order mark, CR LF), tab-separated text for the
// clipboard, ISO 8601 moments with their UTC offset and the names proposed
// for saved files. Portable: cells arrive in the list's own encoding (the
// ANSI code page on Windows) and the caller hands in the converter to UTF-8.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/RunClock.h"
#include "monitor/TextBuffer.h"

// Captions first, then one entry per row, each with one text per caption.
struct TExportTable {
    std::vector<std::string> Captions;
    std::vector<std::vector<std::string>> Rows;
};

// Turns a cell of the list's encoding into UTF-8.
using TUtf8Converter = std::function<std::string(std::string_view)>;
// Takes a file's bytes piece by piece, in order (a file being written).
using TByteSink = std::function<void(std::string_view)>;

// "2026-12-07T14:02:11+01:00": the local time the stamp shows, with its own
// offset; a zero offset is written "+00:00".
std::string IsoMoment(const TWallStamp& stamp);
// The same in place, for one per row of a long list: no heap block each.
struct TIsoText {
    char Text[26];
    std::string_view View() const { return {Text, 25}; }
};
TIsoText IsoMomentText(const TWallStamp& stamp);
// The same from the local time the stamp shows, worked out already.
TIsoText IsoMomentText(const TCivilTime& local, int offsetMinutes);

// "zentvorlumo-errors-2026-12-07.csv" for what = "errors".
std::string ExportFileName(std::string_view what, const TCivilTime& day);

// A CSV file's bytes made line by line: the byte-order mark, then the fields
// of each line and its CR LF.
class TCsvBuilder {
public:
    // A file's bytes start with the byte-order mark; lines kept to be
    // written later (Bare) do not.
    enum class Start { ByteOrderMark, Bare };
    explicit TCsvBuilder(TUtf8Converter toUtf8, Start start = Start::ByteOrderMark);
    void Field(std::string_view cell);
    // A field already in UTF-8 that needs no quotes (a caption of ours, an
    // ISO time): copied as it is.
    void Utf8Field(std::string_view cell)
    {
        OpenField().AppendPlain(cell);
        out_.TakeWatchedSeen();
    }
    void Reserve(std::size_t bytes) { out_.Reserve(bytes); }
    // A field whose text can hold nothing to quote or convert (a number, a
    // status name): appended as it comes, without the check afterwards.
    TTextBuffer& PlainField()
    {
        if (!lineStart_)
            out_.Append(',');
        lineStart_ = false;
        return out_;
    }
    // A field made in place: append the cell's text (in the list's encoding)
    // to the buffer OpenField() returns, then call CloseField(). The rare
    // cell that needs quotes or another encoding is redone then.
    TTextBuffer& OpenField()
    {
        if (!lineStart_)
            out_.Append(',');
        lineStart_ = false;
        fieldStart_ = out_.Size();
        out_.TakeWatchedSeen();
        return out_;
    }
    void CloseField()
    {
        // Plain ASCII is the same in every code page: most cells stay as appended.
        if (out_.TakeWatchedSeen())
            RedoField();
    }
    void EndLine();
    std::string Take() { return out_.Take(); }
    // At a line's end: once `bytes` have gathered, they go to `sink` and the
    // text starts anew, so that a long file is made in a block that stays
    // in the processor's cache rather than in one string of its own size.
    void HandOnAfter(std::size_t bytes, const TByteSink& sink)
    {
        if (out_.Size() < bytes)
            return;
        sink(out_.Whole());
        out_.Clear();
    }

private:
    void RedoField();

    TTextBuffer out_;
    TUtf8Converter toUtf8_;
    std::size_t fieldStart_ = 0;
    bool lineStart_ = true;
};

// The whole file: byte-order mark, captions, rows, every line ended by CR LF.
std::string CsvText(const TExportTable& table, const TUtf8Converter& toUtf8);

// Captions and rows, tabs between cells and CR LF after each line, in the
// cells' own encoding. A cell holding a tab, a line break or a quote is
// quoted as in CSV, so that a spreadsheet pastes it into one cell as it was.
std::string TabText(const TExportTable& table);
