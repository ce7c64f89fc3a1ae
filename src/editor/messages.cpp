// Italian wording of file failures for the window's message boxes.
#include "editor/messages.h"

#include <ctime>

#include "image/file_error.h"
#include "image/offset_text.h"
#include "platform/paths.h"

namespace tavrel::text {
namespace {

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string reasonOr(const FileError& error, const char* fallback) {
    return error.systemError != 0 ? error.systemReason() : fallback;
}

constexpr RestoreWords kRestoreWords = {
    " Nulla è stato modificato: l'immagine è com'era prima.",
    " Non è stato possibile ripristinare l'immagine: controlla i byte a offset ",
    RunEnd::LastOffset, "."};

// What a container is, and how to get the raw image Tavrel edits out of it.
std::string containerText(const FileError& error) {
    const std::string name = quoted(error.path);
    constexpr const char* kRaw =
        " Tavrel modifica solo immagini raw: il .bin (con il suo .cue) a settori da 2352 byte.";
    switch (error.container) {
        case ContainerKind::Chd:
            return name + " è un'immagine CHD compressa." + kRaw + " Estraila con \"chdman " +
                   "extractcd -i " + error.path + " -o " + withExtension(error.path, ".cue") +
                   "\", apri il .cue e, dopo le modifiche, ricomprimila con \"chdman createcd -i " +
                   withExtension(error.path, ".cue") + " -o " + error.path + "\".";
        case ContainerKind::Ecm:
            return name + " è un'immagine ECM, senza i codici EDC/ECC dei settori." + kRaw +
                   " Ricostruisci prima il .bin con un decodificatore ECM.";
        case ContainerKind::Pbp:
            return name + " è un'immagine PBP compressa." + kRaw +
                   " Convertila prima in .bin/.cue.";
        case ContainerKind::Archive:
            return name + " è un archivio compresso (zip, 7z o rar)." + kRaw +
                   " Estrai prima il .bin e il .cue che contiene.";
        case ContainerKind::Iso2336:
            return name + " è un'immagine con settori da 2336 byte." + kRaw;
        case ContainerKind::Iso2048:
        case ContainerKind::None:
            break;
    }
    return name + " è un'immagine ISO con settori da 2048 byte." + kRaw;
}

std::string cueText(const FileError& error) {
    const CueFault& fault = error.cue;
    const std::string line =
        fault.line > 0 ? " alla riga " + std::to_string(fault.line) + " (\"" + fault.text + "\")"
                       : "";
    std::string why;
    switch (fault.kind) {
        case CueFault::Kind::NoDataTrack:
            why = " non indica il file della traccia 1 (TRACK 01)";
            break;
        case CueFault::Kind::NotRawTrack:
            why = ": la traccia 1 non è di dati raw (MODE2/2352 o MODE1/2352)";
            break;
        case CueFault::Kind::LateStart:
            why = ": la traccia 1 non comincia all'inizio del suo file";
            break;
        case CueFault::Kind::OutsideFolder:
            why = " indica un file fuori dalla sua cartella (percorso assoluto o \"..\")";
            break;
        case CueFault::Kind::MissingFile:
            why = " indica un file che non c'è accanto al foglio";
            break;
        case CueFault::Kind::NotASheet:
        case CueFault::Kind::None:
            return quoted(error.path) + " non è un foglio .cue leggibile. Nulla è stato scritto.";
    }
    return "Il foglio " + quoted(error.path) + line + why + ". Nulla è stato scritto.";
}

std::string describeImageFailure(const FileError& error) {
    const std::string at = "offset " + hexOffset(error.offset);
    switch (error.failure) {
        case FileFailure::Held:
        case FileFailure::AccessRefused:
            return kAccessRefused;
        case FileFailure::NotAFile:
            return quoted(error.path) + " non è un file immagine.";
        case FileFailure::MeasureFailed:
            return "Impossibile leggere la dimensione dell'immagine: " + error.systemReason() + ".";
        case FileFailure::TooShort:
            return "L'immagine CD è troppo corta: servono " + std::to_string(error.count) +
                   " byte a " + at + ", il file ne ha " + std::to_string(error.fileSize) +
                   ". Non è un'immagine completa del gioco.";
        case FileFailure::ReadFailed:
            return "Lettura dell'immagine non riuscita a " + at + ": " +
                   reasonOr(error, "fine del file") + ".";
        case FileFailure::WriteFailed:
            return "Scrittura dell'immagine non riuscita a " + at + ": " +
                   reasonOr(error, "nessun byte scritto") + "." + restoreText(error, kRestoreWords);
        case FileFailure::SyncFailed:
            return "Impossibile completare la scrittura dell'immagine su disco: " +
                   error.systemReason() + "." + restoreText(error, kRestoreWords);
        case FileFailure::NotRawImage:
            return containerText(error) + " Nulla è stato scritto.";
        case FileFailure::BadCueSheet:
            return cueText(error);
        case FileFailure::ChangedElsewhere:
            return "Un altro programma ha cambiato l'immagine a " + at +
                   ": la modifica non è stata annullata. Nulla è stato scritto.";
        case FileFailure::OpenFailed:
        case FileFailure::TooLarge:
        case FileFailure::CreateFailed:
            break;
    }
    return "Impossibile aprire " + quoted(error.path) + ": " + error.systemReason() + ".";
}

}  // namespace

std::string saveCompleted(const std::string& description) {
    return "Un salvataggio interrotto (" + description + ") è stato completato.";
}

std::string saveNotCompleted(const std::string& description, const std::string& logKeptAs) {
    return "Un salvataggio interrotto (" + description +
           ") non è stato completato: nel frattempo un altro programma ha cambiato l'immagine. "
           "Il registro delle modifiche è conservato in \"" +
           logKeptAs + "\".";
}

std::string logDamaged(const std::string& keptAs) {
    return "Il registro delle modifiche di questa immagine era danneggiato: le modifiche che vi "
           "si leggono ancora restano e si possono annullare. Il registro com'era è conservato "
           "in " +
           quoted(keptAs) + ".";
}

std::string logNotOurs(bool newer, const std::string& logPath, const std::string& keptAs) {
    return "Accanto all'immagine c'era " + quoted(logPath) +
           (newer ? ", un registro delle modifiche di una versione più recente di Tavrel"
                  : ", che non è un registro delle modifiche di Tavrel") +
           ": è conservato in " + quoted(keptAs) +
           ". Un nuovo registro comincia con la prossima modifica.";
}

std::string logNotKept(const std::string& logPath, const std::string& failure) {
    return "Il registro delle modifiche " + quoted(logPath) +
           " non è leggibile per intero e non si è potuto mettere da parte (" + failure +
           "). Le prossime modifiche di questa immagine saranno scritte senza registro e non si "
           "potranno annullare: rendi scrivibile la cartella dell'immagine e riaprila.";
}

std::string undoQuestion(const std::string& description, std::int64_t time) {
    char when[32];
    const std::time_t seconds = time;
    std::strftime(when, sizeof when, "%d/%m/%Y %H:%M", std::localtime(&seconds));
    return "Annullare l'ultima modifica dell'immagine, \"" + description + "\" del " + when + "?";
}

std::string describe(const FileError& error) {
    if (error.role == FileRole::Image)
        return describeImageFailure(error);
    const std::string file = quoted(error.path);
    const std::string reason = error.systemReason();
    switch (error.failure) {
        case FileFailure::NotAFile:
            return file + " non è un file normale. Nulla è stato scritto.";
        case FileFailure::TooLarge:
            return file + " è troppo grande. Nulla è stato scritto.";
        case FileFailure::ReadFailed:
        case FileFailure::MeasureFailed:
        case FileFailure::TooShort:
            return "Impossibile leggere " + file + ": " + reason + ".";
        case FileFailure::CreateFailed:
            return "Impossibile creare " + file + ": " + reason + ". Nessun file è stato creato.";
        case FileFailure::WriteFailed:
            return "Impossibile scrivere " + file + ": " + reason + ". Nessun file è stato creato.";
        case FileFailure::SyncFailed:
            return "Impossibile completare la scrittura di " + file + ": " + reason + ".";
        case FileFailure::Held:
        case FileFailure::AccessRefused:
        case FileFailure::OpenFailed:
        case FileFailure::NotRawImage:
        case FileFailure::BadCueSheet:
        case FileFailure::ChangedElsewhere:
            break;
    }
    return "Impossibile aprire " + file + ": " + reason + ".";
}

}  // namespace tavrel::text
