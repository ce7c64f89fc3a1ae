// Italian wording of failures for the command line.
#include "tool/tool_text.h"

#include <cstdio>
#include <ostream>
#include <sstream>

#include "image/file_error.h"

namespace tavrel::tool {
namespace {

std::string outcome(const FileError& error) {
    switch (error.restore) {
        case Restore::NotNeeded:
            return "";
        case Restore::Restored:
            return "; nulla è stato modificato";
        case Restore::NotRestored:
            break;
    }
    std::string runs;
    for (const ByteRun& run : error.unrestored) {
        runs += (runs.empty() ? "" : ", ") + hexOffset(run.offset);
        if (run.length > 1)
            runs += "+" + std::to_string(run.length - 1);
    }
    return "; immagine NON ripristinata, controlla i byte a " + runs;
}

// Failures that only an image has, or that read differently for one.
std::string describeImageFailure(const FileError& error, const std::string& reason) {
    switch (error.failure) {
        case FileFailure::AccessRefused:
            return "accesso negato: " + error.path + " non si può scrivere" + reason;
        case FileFailure::TooShort:
            return error.path + " è troppo corta per il gioco: servono " +
                   std::to_string(error.count) + " byte a " + hexOffset(error.offset) +
                   ", il file ne ha " + std::to_string(error.fileSize) + "; nulla è stato scritto";
        case FileFailure::WriteFailed:
            return "scrittura non riuscita: " + error.path + " a " + hexOffset(error.offset) +
                   reason + outcome(error);
        case FileFailure::SyncFailed:
            return "il disco non ha confermato la scrittura di " + error.path + reason +
                   outcome(error);
        case FileFailure::NotRawImage:
            return error.path +
                   " è un'immagine ISO con settori da 2048 byte: serve l'immagine raw .bin "
                   "(settori da 2352 byte); nulla è stato scritto";
        default:
            return "un altro programma ha cambiato " + error.path + " a " +
                   hexOffset(error.offset) +
                   ": la modifica non è stata annullata; nulla è stato "
                   "scritto";
    }
}

}  // namespace

std::string hexByte(std::uint8_t byte) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

std::string hexOffset(std::int64_t offset) {
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << offset;
    return text.str();
}

std::string describe(const FileError& error) {
    const std::string reason = error.systemError != 0 ? ": " + error.systemReason() : "";
    switch (error.failure) {
        case FileFailure::Held:
            return "accesso negato: " + error.path + " è aperta in Tavrel o in tavrel-tool";
        case FileFailure::NotAFile:
            return error.path + " non è un file normale";
        case FileFailure::TooLarge:
            return error.path + " è troppo grande per essere un piano";
        case FileFailure::MeasureFailed:
            return "impossibile leggere la dimensione di " + error.path + reason;
        case FileFailure::ReadFailed:
            return "lettura non riuscita: " + error.path +
                   (error.offset >= 0 ? " a " + hexOffset(error.offset) : "") + reason;
        case FileFailure::OpenFailed:
            return "impossibile aprire " + error.path + reason;
        default:
            break;
    }
    if (error.role == FileRole::Image)
        return describeImageFailure(error, reason);
    if (error.failure == FileFailure::AccessRefused)
        return "impossibile aprire " + error.path + reason;
    return "impossibile scrivere " + error.path + reason;
}

int exitStatus(const FileError& error) {
    const bool wrongImage = error.failure == FileFailure::TooShort ||
                            error.failure == FileFailure::NotRawImage ||
                            error.failure == FileFailure::ChangedElsewhere;
    // A file the user named that is a folder, a pipe or too large; a plan or flag file that
    // may not be read.
    const bool inputFile = error.role == FileRole::Plan || error.role == FileRole::FlagFile;
    const bool badInput = error.failure == FileFailure::NotAFile ||
                          error.failure == FileFailure::TooLarge ||
                          (inputFile && error.failure == FileFailure::AccessRefused);
    return wrongImage || badInput ? kRefused : kFileFailure;
}

std::string describe(const RecordError& error) {
    const std::string column = "colonna " + std::to_string(error.column + 1) + ": ";
    switch (error.expected) {
        case RecordError::Expected::MoreText:
            return "riga troppo corta (" + std::to_string(error.column) +
                   " caratteri, ne servono " + std::to_string(kFlagRecordLength) + ")";
        case RecordError::Expected::HexDigit:
            return column + "attesa una cifra esadecimale";
        case RecordError::Expected::Blank:
            return column + "atteso uno spazio";
    }
    return "";
}

std::string colourText(const Flag& flag) {
    std::string text;
    char pair[8];
    for (std::size_t i = 0; i < flag.palette.size(); i += 2) {
        std::snprintf(pair, sizeof pair, "%s%02X%02X", i == 0 ? "" : " ", flag.palette[i],
                      flag.palette[i + 1]);
        text += pair;
    }
    return text;
}

void printList(std::ostream& out, bool json, std::size_t count,
               const std::function<void(std::size_t)>& item) {
    out << (json ? "[\n" : "");
    for (std::size_t i = 0; i < count; ++i) {
        out << (json ? "  " : "");
        item(i);
        out << (json ? (i + 1 < count ? ",\n" : "\n") : "");
    }
    out << (json ? "]\n" : "");
}

std::string json(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string jsonColours(const Flag& flag) {
    std::string text = colourText(flag);
    std::string array = "[\"";
    for (const char c : text) array += c == ' ' ? std::string("\", \"") : std::string(1, c);
    return array + "\"]";
}

}  // namespace tavrel::tool
