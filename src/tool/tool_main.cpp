// tavrel-tool: the editor's work from the command line, for scripts and batches. Needs no
// display. Exit status 0 on success, 1 when the image or a file could not be read or written,
// 2 for a usage error or refused input.
#include <CLI/CLI.hpp>

#include <iostream>

#include "tool/tool_commands.h"
#include "tool/tool_text.h"

using namespace tavrel::tool;

int main(int argc, char** argv) {
    CLI::App app{
        "Tavrel da riga di comando: le bandiere delle 86 squadre in un'immagine raw del "
        "CD del gioco (.bin/.img, settori da 2352 byte).",
        "tavrel-tool"};
    app.require_subcommand(1);
    const Streams io{std::cout, std::cerr, std::cin};
    std::string image, team, design, file, plan, folder = ".", pattern, number;
    std::vector<std::string> teams;
    bool json = false;
    int status = kSuccess;
    const auto imageArgument = [&](CLI::App* command) {
        command->add_option("IMAGE", image, "l'immagine del gioco")->required();
    };
    const auto jsonFlag = [&](CLI::App* command) {
        command->add_flag("--json", json, "risultati in JSON");
    };
    const char* teamHelp = "la squadra: indice 0–85 o nome della lista (\"Bayer Monaco\")";

    CLI::App* teamsCommand = app.add_subcommand("teams",
                                                "una riga per squadra: indice, nome "
                                                "nella lista e nell'immagine, tipo, 15 colori, N° "
                                                "dei disegni uguali");
    imageArgument(teamsCommand);
    jsonFlag(teamsCommand);
    teamsCommand->callback([&] { status = listTeams(image, json, io); });

    CLI::App* showCommand = app.add_subcommand("show",
                                               "la bandiera della squadra come una riga "
                                               "di un file .flg");
    imageArgument(showCommand);
    showCommand->add_option("TEAM", team, teamHelp)->required();
    jsonFlag(showCommand);
    showCommand->callback([&] { status = showTeam(image, team, json, io); });

    CLI::App* applyCommand = app.add_subcommand(
        "apply", "scrive una bandiera (--design o --file) o tutte quelle di un piano (--plan)");
    imageArgument(applyCommand);
    applyCommand->add_option("TEAM", team, teamHelp);
    CLI::Option* designOption =
        applyCommand->add_option("--design", design, "il N° del disegno, 1–135");
    CLI::Option* fileOption = applyCommand->add_option("--file", file, "un file .flg");
    CLI::Option* planOption = applyCommand->add_option(
        "--plan", plan, "un piano: una riga \"SQUADRA DISEGNO-o-FILE\" per bandiera (- per stdin)");
    designOption->excludes(fileOption)->excludes(planOption);
    fileOption->excludes(planOption);
    applyCommand->callback([&] {
        if (!plan.empty() && team.empty())
            status = applyPlan(image, plan, io);
        else if (!team.empty() && (!design.empty() || !file.empty()))
            status = applyFlag(image, team, design, file, io);
        else
            throw CLI::ValidationError("apply",
                                       "servono TEAM con --design o --file, oppure --plan");
    });

    CLI::App* exportCommand = app.add_subcommand(
        "export", "scrive Flag_<nome>.flg per le squadre date, o per tutte quelle con colori");
    imageArgument(exportCommand);
    exportCommand->add_option("TEAM", teams, teamHelp);
    exportCommand->add_option("--to", folder, "la cartella dei file (se no quella corrente)");
    exportCommand->callback([&] { status = exportFlags(image, teams, folder, io); });

    CLI::App* netsCommand = app.add_subcommand("nets", "mostra o cambia il formato delle reti");
    imageArgument(netsCommand);
    netsCommand->add_option("PATTERN", pattern, "normali o rombi");
    jsonFlag(netsCommand);
    netsCommand->callback([&] { status = nets(image, pattern, json, io); });

    bool option = false;
    CLI::App* verifyCommand = app.add_subcommand(
        "verify", "controlla EDC ed ECC dei settori: quanti per tipo, quanti errati, i primi 20");
    imageArgument(verifyCommand);
    verifyCommand->add_flag("--touched", option,
                            "solo i settori che contengono i posti che Tavrel scrive");
    verifyCommand->callback([&] { status = verify(image, option, io); });

    CLI::App* fixCommand = app.add_subcommand(
        "fix-checksums",
        "riscrive EDC ed ECC errati dei settori che Tavrel tocca (--all: di tutti)");
    imageArgument(fixCommand);
    fixCommand->add_flag("--all", option, "tutti i settori dell'immagine");
    fixCommand->callback([&] { status = fixChecksums(image, option, io); });

    CLI::App* historyCommand = app.add_subcommand(
        "history", "le modifiche registrate accanto all'immagine, l'ultima in fondo");
    imageArgument(historyCommand);
    jsonFlag(historyCommand);
    historyCommand->callback([&] { status = history(image, json, io); });

    int steps = 1;
    CLI::App* undoCommand = app.add_subcommand(
        "undo", "annulla le ultime modifiche (registrate a loro volta come modifiche)");
    imageArgument(undoCommand);
    undoCommand->add_option("--steps", steps, "quante modifiche annullare (1)");
    undoCommand->callback([&] { status = undo(image, steps, io); });

    std::string output, text;
    CLI::App* patchCommand = app.add_subcommand(
        "patch",
        "una patch PPF 3.0 dell'effetto delle modifiche registrate, per l'immagine originale");
    imageArgument(patchCommand);
    patchCommand->add_option("OUT", output, "il file .ppf da scrivere")->required();
    patchCommand->add_option("--description", text, "la descrizione nella patch (50 byte)");
    patchCommand->callback([&] { status = patch(image, output, text, io); });

    CLI::App* catalogCommand = app.add_subcommand("catalog", "i 135 disegni, o il record di uno");
    catalogCommand->add_option("N", number, "il N° del disegno, 1–135");
    jsonFlag(catalogCommand);
    catalogCommand->callback([&] { status = listCatalog(number, json, io); });

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? kSuccess : kRefused;
    }
    return status;
}
