// Italian wording of file failures for the window's message boxes.
#include "editor/messages.h"

#include <ctime>

#include "image/file_error.h"
#include "image/offset_text.h"

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
            return quoted(error.path) +
                   " è un'immagine ISO con settori da 2048 byte: Tavrel ha bisogno dell'immagine "
                   "raw .bin, con settori da 2352 byte. Nulla è stato scritto.";
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
        case FileFailure::ChangedElsewhere:
            break;
    }
    return "Impossibile aprire " + file + ": " + reason + ".";
}

}  // namespace tavrel::text
