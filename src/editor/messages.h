// The window's own texts, shown exactly as they stand, and the wording of file failures.
#pragma once

#include <cstdint>
#include <string>

namespace tavrel {
class FileError;
struct PatchFault;
struct PatchPlan;
struct PlaceTally;
}  // namespace tavrel

namespace tavrel::text {

inline constexpr const char* kTitle = "Tavrel";
inline constexpr const char* kAccessRefused = "Accesso negato, Immagine CD già aperta";
inline constexpr const char* kSaveDone = "Salvataggio effettuato con successo";
// The line feed comes before the carriage return, and the second line starts with four blanks.
inline constexpr const char* kTypeOnly =
    "Attenzione per questa squadra è possibile\n\r    cambiare solo il tipo e non il colore";
inline constexpr const char* kImportTypeOnly = "Salvataggio fallito per questa squadra";
inline constexpr const char* kExportDone = "File creato con successo";
inline constexpr const char* kNetSaved = "Modifica salvata";
inline constexpr const char* kPairingInfix = " Bandiera N° ";

// Refusals the program adds of its own; each says that nothing was written.
inline constexpr const char* kNoImage =
    "Nessuna immagine CD aperta: aprine una con \"Apri Image CD\".";
inline constexpr const char* kNoTeamSelected =
    "Nessuna squadra selezionata: scegli una squadra dalla lista. Nulla è stato scritto.";
inline constexpr const char* kNoTeamForExport =
    "Nessuna squadra selezionata: scegli una squadra dalla lista. Nessun file è stato creato.";
inline constexpr const char* kNoPaletteToExport =
    "Questa squadra non ha colori propri nell'immagine: si può cambiare solo il suo tipo, "
    "e la sua bandiera non si può esportare. Nessun file è stato creato.";
inline constexpr const char* kBadExportName =
    "Il nome della squadra non può formare il nome di un file nella cartella del programma "
    "(contiene \"/\", \"\\\" o caratteri di controllo, oppure è troppo lungo). "
    "Nessun file è stato creato.";
inline constexpr const char* kMalformedRecord =
    "Il file non contiene una bandiera valida: la prima riga deve iniziare con il tipo "
    "(2 cifre esadecimali) seguito da 15 colori (30 coppie di cifre esadecimali separate da "
    "uno spazio). Nulla è stato scritto.";

// Asked before the first write into an image that fails the game check.
inline constexpr const char* kNotTheGame =
    "L'immagine non sembra contenere il gioco: scrivere comunque?";

// A fault of the program itself stopped the operation.
inline constexpr const char* kInternalError =
    "Errore interno di Tavrel: l'operazione è stata interrotta. Controlla l'immagine prima di "
    "continuare.";

// The image's change log: an interrupted save found at opening, and undo.
std::string saveCompleted(const std::string& description);
std::string saveNotCompleted(const std::string& description, const std::string& logKeptAs);
// A damaged log, kept aside whole, its readable changes kept; a file that is no log of ours (or
// one of a later version), kept aside; a log that could not be kept aside (`failure` worded).
std::string logDamaged(const std::string& keptAs);
std::string logNotOurs(bool newer, const std::string& logPath, const std::string& keptAs);
std::string logNotKept(const std::string& logPath, const std::string& failure);
inline constexpr const char* kNothingToUndo = "Nessuna modifica da annullare in questa immagine.";
inline constexpr const char* kUndoStopsAtGap =
    "Le modifiche precedenti non si possono annullare: il registro delle modifiche era "
    "danneggiato e ha perso modifiche fatte dopo di loro.";
std::string undoQuestion(const std::string& description, std::int64_t time);
inline constexpr const char* kUndoDone = "Modifica annullata: ";

// A patch dropped on the window (`name`: its file's name): why it cannot be read, why it does
// not apply to this image (the teams and places where another change got there first), that it
// is in already, the question that lists what it changes ("Applicare la patch mod.ppf? Cambia:
// Denmark, Italy, reti"), and that it was applied.
std::string patchUnreadable(const std::string& name, bool tooLarge, const PatchFault& fault);
std::string patchRefused(const std::string& name, const PatchPlan& plan, std::int64_t imageSize);
std::string patchAlreadyIn(const std::string& name);
std::string patchQuestion(const std::string& name, const PlaceTally& changes);
std::string patchApplied(const std::string& name);

// The message for a failed read or write of the image or of a flag file: what failed, where,
// the system's reason, and what became of the image.
std::string describe(const FileError& error);

}  // namespace tavrel::text
