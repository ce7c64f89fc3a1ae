// Italian wording of failures for the command line.
#include "tool/tool_text.h"

#include <cstdio>
#include <ostream>

#include "game/game_check.h"
#include "image/file_error.h"
#include "image/offset_text.h"
#include "platform/paths.h"

namespace tavrel::tool {
namespace {

constexpr RestoreWords kRestoreWords = {"; nulla è stato modificato",
                                        "; immagine NON ripristinata, controlla i byte a ",
                                        RunEnd::ByteCount, ""};

// What a container is, and how to get the raw image out of it.
std::string containerText(ContainerKind kind, const std::string& path) {
    switch (kind) {
        case ContainerKind::Chd:
            return " è un'immagine CHD compressa: estraila con \"chdman extractcd -i " + path +
                   " -o " + withExtension(path, ".cue") +
                   "\", modifica il .bin e, se vuoi, ricomprimila con \"chdman createcd -i " +
                   withExtension(path, ".cue") + " -o " + path + "\"";
        case ContainerKind::Ecm:
            return " è un'immagine ECM (senza EDC/ECC): ricostruisci prima il .bin raw";
        case ContainerKind::Pbp:
            return " è un'immagine PBP compressa: convertila prima in .bin/.cue raw";
        case ContainerKind::Archive:
            return " è un archivio compresso (zip, 7z o rar): estrai prima il .bin/.cue";
        case ContainerKind::Iso2336:
            return " è un'immagine con settori da 2336 byte: serve l'immagine raw .bin/.cue "
                   "(settori da 2352 byte)";
        case ContainerKind::Iso2048:
        case ContainerKind::None:
            break;
    }
    return " è un'immagine ISO con settori da 2048 byte: serve l'immagine raw .bin/.cue "
           "(settori da 2352 byte)";
}

std::string cueText(const CueFault& fault) {
    const std::string line =
        fault.line > 0 ? ", riga " + std::to_string(fault.line) + " (\"" + fault.text + "\")" : "";
    switch (fault.kind) {
        case CueFault::Kind::NoDataTrack:
            return line + ": nessun FILE per la TRACK 01";
        case CueFault::Kind::NotRawTrack:
            return line + ": la traccia 1 non è di dati raw (MODE2/2352 o MODE1/2352)";
        case CueFault::Kind::LateStart:
            return line + ": la traccia 1 non comincia all'inizio del suo file";
        case CueFault::Kind::OutsideFolder:
            return line +
                   ": il file è fuori dalla cartella del foglio (percorso assoluto o \"..\")";
        case CueFault::Kind::MissingFile:
            return line + ": il file non c'è accanto al foglio";
        case CueFault::Kind::NotASheet:
        case CueFault::Kind::None:
            break;
    }
    return ": non è un foglio .cue";
}

}  // namespace

std::string hexByte(std::uint8_t byte) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

std::string describe(const FileError& error) {
    const std::string reason = error.systemError != 0 ? ": " + error.systemReason() : "";
    // Failures of writing that an image words apart; other files say "impossibile scrivere".
    const bool image = error.role == FileRole::Image;
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
        case FileFailure::AccessRefused:
            return image ? "accesso negato: " + error.path + " non si può scrivere" + reason
                         : "impossibile aprire " + error.path + reason;
        case FileFailure::TooShort:
            if (image)
                return error.path + " è troppo corta per il gioco: servono " +
                       std::to_string(error.count) + " byte a " + hexOffset(error.offset) +
                       ", il file ne ha " + std::to_string(error.fileSize) +
                       "; nulla è stato scritto";
            break;
        case FileFailure::WriteFailed:
            if (image)
                return "scrittura non riuscita: " + error.path + " a " + hexOffset(error.offset) +
                       reason + restoreText(error, kRestoreWords);
            break;
        case FileFailure::SyncFailed:
            if (image)
                return "il disco non ha confermato la scrittura di " + error.path + reason +
                       restoreText(error, kRestoreWords);
            break;
        case FileFailure::NotRawImage:
            return error.path + containerText(error.container, error.path) +
                   "; nulla è stato scritto";
        case FileFailure::BadCueSheet:
            return error.path + cueText(error.cue) + "; nulla è stato scritto";
        case FileFailure::ChangedElsewhere:
            if (image)
                return "un altro programma ha cambiato " + error.path + " a " +
                       hexOffset(error.offset) +
                       ": la modifica non è stata annullata; nulla è stato scritto";
            break;
        case FileFailure::CreateFailed:
            break;
    }
    return "impossibile scrivere " + error.path + reason;
}

int exitStatus(const FileError& error) {
    switch (error.failure) {
        // The image is not one the game's places fit, or another program changed it.
        case FileFailure::TooShort:
        case FileFailure::NotRawImage:
        case FileFailure::BadCueSheet:
        case FileFailure::ChangedElsewhere:
        // A file the user named that is a folder, a pipe or too large.
        case FileFailure::NotAFile:
        case FileFailure::TooLarge:
            return kRefused;
        // A plan or flag file that may not be read is refused input; an image or a file the
        // tool writes that it may not is a failure of the file.
        case FileFailure::AccessRefused:
            return error.role == FileRole::Plan || error.role == FileRole::FlagFile ? kRefused
                                                                                    : kFileFailure;
        case FileFailure::Held:
        case FileFailure::OpenFailed:
        case FileFailure::MeasureFailed:
        case FileFailure::ReadFailed:
        case FileFailure::WriteFailed:
        case FileFailure::SyncFailed:
        case FileFailure::CreateFailed:
            return kFileFailure;
    }
    return kFileFailure;
}

std::vector<std::string> gameCheckReasons(const GameCheck& check) {
    if (check.tooShort)
        return {"il file ha " + std::to_string(check.size) +
                " byte, troppo pochi per il gioco (ne servono almeno " +
                std::to_string(kNetsOffset + 2) + ")"};
    std::vector<std::string> reasons;
    if (check.namedTeams < kNamedTeamsNeeded)
        reasons.push_back("solo " + std::to_string(check.namedTeams) + " nomi di squadra su " +
                          std::to_string(kTeamCount) + " (ne servono " +
                          std::to_string(kNamedTeamsNeeded) + ")");
    if (!check.nets)
        reasons.push_back("i byte delle reti non sono né 00 65 né 28 61");
    if (check.volume == GameCheck::Volume::Other)
        reasons.push_back("il volume ISO 9660 è di un altro disco (non modo 2 CD-XA)");
    return reasons;
}

std::string joinedReasons(const GameCheck& check) {
    std::string text;
    for (const std::string& reason : gameCheckReasons(check))
        text += (text.empty() ? "" : ", ") + reason;
    return text;
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
