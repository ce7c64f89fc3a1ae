// Italian wording of file failures for the window's message boxes.
#include "editor/messages.h"

#include <ctime>

#include "image/file_error.h"

namespace tavrel::text {
namespace {

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string reasonOr(const FileError& error, const char* fallback) {
    return error.systemError != 0 ? error.systemReason() : fallback;
}

std::string restoreText(const FileError& error) {
    switch (error.restore) {
        case Restore::NotNeeded:
            return "";
        case Restore::Restored:
            return " Nulla è stato modificato: l'immagine è com'era prima.";
        case Restore::NotRestored:
            break;
    }
    return " Non è stato possibile ripristinare l'immagine: controlla i byte a offset " +
           hexRuns(error.unrestored) + ".";
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

std::string undoQuestion(const std::string& description, std::int64_t time) {
    char when[32];
    const std::time_t seconds = time;
    std::strftime(when, sizeof when, "%d/%m/%Y %H:%M", std::localtime(&seconds));
    return "Annullare l'ultima modifica dell'immagine, \"" + description + "\" del " + when + "?";
}

std::string describe(const FileError& error) {
    const std::string at = "offset " + hexOffset(error.offset);
    switch (error.failure) {
        case FileFailure::AccessRefused:
            return kAccessRefused;
        case FileFailure::OpenFailed:
        case FileFailure::FileOpenFailed:
            return "Impossibile aprire " + quoted(error.path) + ": " + error.systemReason() + ".";
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
                   reasonOr(error, "nessun byte scritto") + "." + restoreText(error);
        case FileFailure::SyncFailed:
            return "Impossibile completare la scrittura dell'immagine su disco: " +
                   error.systemReason() + "." + restoreText(error);
        case FileFailure::NotRawImage:
            return quoted(error.path) +
                   " è un'immagine ISO con settori da 2048 byte: Tavrel ha bisogno dell'immagine "
                   "raw .bin, con settori da 2352 byte. Nulla è stato scritto.";
        case FileFailure::ChangedElsewhere:
            return "Un altro programma ha cambiato l'immagine a " + at +
                   ": la modifica non è stata annullata. Nulla è stato scritto.";
        case FileFailure::FileNotPlain:
            return quoted(error.path) + " non è un file normale. Nulla è stato scritto.";
        case FileFailure::FileReadFailed:
            return "Impossibile leggere " + quoted(error.path) + ": " + error.systemReason() + ".";
        case FileFailure::FileCreateFailed:
            return "Impossibile creare " + quoted(error.path) + ": " + error.systemReason() +
                   ". Nessun file è stato creato.";
        case FileFailure::FileWriteFailed:
            return "Impossibile scrivere " + quoted(error.path) + ": " + error.systemReason() +
                   ". Nessun file è stato creato.";
        case FileFailure::FileCompleteFailed:
            return "Impossibile completare la scrittura di " + quoted(error.path) + ": " +
                   error.systemReason() + ".";
    }
    return error.what();
}

}  // namespace tavrel::text
