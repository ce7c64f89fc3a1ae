// history, undo and patch: what the image's change log knows.
#include <ctime>
#include <iomanip>
#include <iostream>

#include "journal/ppf_patch.h"
#include "game/flag_files.h"
#include "tool/command_support.h"

namespace tavrel::tool {
namespace {

std::string utc(std::int64_t time, const char* format) {
    const std::time_t seconds = time;
    std::tm parts{};
    ::gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, format, &parts);
    return text;
}

const char* stateName(ChangeRecord::State state, bool json) {
    switch (state) {
        case ChangeRecord::State::Done:
            return json ? "done" : "fatta";
        case ChangeRecord::State::Aborted:
            return json ? "aborted" : "fallita";
        case ChangeRecord::State::Pending:
            break;
    }
    return json ? "unfinished" : "in corso";
}

std::size_t changedBytes(const ChangeRecord& record) {
    std::size_t bytes = 0;
    for (const ByteChange& run : record.runs) bytes += run.after.size();
    return bytes;
}

}  // namespace

int history(const std::string& image, bool json, Streams io) {
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadOnly, io);
        const std::vector<ChangeRecord>& records = session->history();
        io.out << (json ? "[\n" : "");
        for (std::size_t i = 0; i < records.size(); ++i) {
            const ChangeRecord& r = records[i];
            if (json) {
                io.out << "  {\"sequence\": " << r.sequence << ", \"time\": \""
                       << utc(r.time, "%Y-%m-%dT%H:%M:%SZ") << "\", \"state\": \""
                       << stateName(r.state, true) << "\", \"undoes\": " << r.undoes
                       << ", \"bytes\": " << changedBytes(r)
                       << ", \"description\": " << tool::json(r.description) << "}"
                       << (i + 1 < records.size() ? ",\n" : "\n");
                continue;
            }
            io.out << std::setw(4) << r.sequence << "  " << utc(r.time, "%Y-%m-%d %H:%M:%S UTC")
                   << "  " << std::left << std::setw(9) << stateName(r.state, false) << std::right
                   << std::setw(6) << changedBytes(r) << " byte  " << r.description << '\n';
        }
        io.out << (json ? "]\n" : "");
        return kSuccess;
    });
}

int undo(const std::string& image, int steps, Streams io) {
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadWrite, io);
        const std::size_t available = session->undoable().size();
        if (steps < 1 || static_cast<std::size_t>(steps) > available)
            return refuse(io, "modifiche da annullare: " + std::to_string(available) +
                                  "; nulla è stato scritto");
        for (int step = 0; step < steps; ++step) {
            const ChangeRecord last = session->undoable().front();
            session->undoLast("undo " + std::to_string(last.sequence) + ": " + last.description);
            io.out << "annullata la modifica " << last.sequence << ": " << last.description << '\n';
        }
        return kSuccess;
    });
}

int patch(const std::string& image, const std::string& output, const std::string& description,
          Streams io) {
    return guarded(io, [&] {
        const auto session = openImage(image, ImageAccess::ReadOnly, io);
        const std::vector<ByteChange> runs = netChanges(session->history(), session->file());
        const std::string name = image.substr(image.find_last_of('/') + 1);
        const Bytes bytes = encodePpf3(runs, description.empty() ? "Tavrel: " + name : description);
        const auto slash = output.find_last_of('/');
        writeFilesAtomically(slash == std::string::npos ? "." : output.substr(0, slash),
                             {{output.substr(slash + 1), std::string(bytes.begin(), bytes.end())}});
        std::size_t changed = 0;
        for (const ByteChange& run : runs) changed += run.after.size();
        io.out << output << ": " << changed << " byte in " << runs.size() << " blocchi\n";
        return kSuccess;
    });
}

}  // namespace tavrel::tool
