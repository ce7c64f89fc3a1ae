// history: the changes the image's log records, newest last.
#include <ctime>
#include <iomanip>
#include <iostream>
#include <set>

#include "tool/command_line.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

constexpr const char* kHelp = "le modifiche registrate accanto all'immagine, l'ultima in fondo";

std::string utc(std::int64_t time, const char* format) {
    const std::time_t seconds = time;
    const std::tm* parts = std::gmtime(&seconds);
    char text[32] = "?";
    if (parts != nullptr)
        std::strftime(text, sizeof text, format, parts);
    return text;
}

// A change a completed undo took back is listed as such, not as done.
const char* stateName(ChangeRecord::State state, bool undone, bool json) {
    if (undone)
        return json ? "undone" : "annullata";
    switch (state) {
        case ChangeRecord::State::Done:
            return json ? "done" : "fatta";
        case ChangeRecord::State::Aborted:
            return json ? "aborted" : "fallita";
        case ChangeRecord::State::Pending:
        case ChangeRecord::State::Unknown:
            break;
    }
    return json ? "unfinished" : "in corso";
}

std::size_t changedBytes(const ChangeRecord& record) {
    std::size_t bytes = 0;
    for (const ByteChange& run : record.runs) bytes += run.after.size();
    return bytes;
}

// The numbers of the changes that completed undos took back.
std::set<std::uint64_t> undoneChanges(const std::vector<ChangeRecord>& records) {
    std::set<std::uint64_t> undone;
    for (const ChangeRecord& record : records) {
        if (record.state == ChangeRecord::State::Done)
            undone.insert(record.undoes.begin(), record.undoes.end());
    }
    return undone;
}

void printRecord(const ChangeRecord& r, bool undone, bool json, Streams io) {
    // A gap stands for changes the log lost to damage.
    const char* state = r.gap ? (json ? "lost" : "perse") : stateName(r.state, undone, json);
    if (json) {
        io.out << "{\"sequence\": " << r.sequence << ", \"time\": \""
               << utc(r.time, "%Y-%m-%dT%H:%M:%SZ") << "\", \"state\": \"" << state
               << "\", \"undoes\": [" << joined(r.undoes, ", ")
               << "], \"bytes\": " << changedBytes(r)
               << ", \"checksum_sectors\": " << r.checksumSectors
               << ", \"description\": " << tool::json(r.description) << "}";
        return;
    }
    io.out << std::setw(4) << r.sequence << "  " << utc(r.time, "%Y-%m-%d %H:%M:%S UTC") << "  "
           << std::left << std::setw(9) << state << std::right << std::setw(6) << changedBytes(r)
           << " byte  " << std::setw(3) << r.checksumSectors << " settori  " << r.description
           << '\n';
}

int history(const ImageOptions& options, Streams io) {
    return withImage(options.image, ImageAccess::ReadOnly, io, [&](ImageSession& session) {
        const std::vector<ChangeRecord>& records = session.history();
        const std::set<std::uint64_t> undone = undoneChanges(records);
        printList(io.out, options.json, records.size(), [&](std::size_t i) {
            printRecord(records[i], undone.contains(records[i].sequence), options.json, io);
        });
        return kSuccess;
    });
}

}  // namespace

void addHistoryCommand(CLI::App& app, Streams io, int& status) {
    addCommand(app, "history", kHelp, io, status, history);
}

}  // namespace tavrel::tool
