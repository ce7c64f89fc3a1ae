// Reading and making colour and type changes.
#include "tool/flag_changes.h"

#include <charconv>

#include "game/team_table.h"

namespace tavrel::tool {
namespace {

constexpr const char* kColourForm = "K=#RRGGBB o K=WORD, K da 1 a 15, WORD di 4 cifre esadecimali";

std::optional<ColourSetting> readColour(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos)
        return std::nullopt;
    ColourSetting setting;
    const auto [end, error] = std::from_chars(text.data(), text.data() + equals, setting.k);
    if (error != std::errc() || end != text.data() + equals || setting.k < 1 ||
        setting.k > kColourCount)
        return std::nullopt;
    const std::string_view value = std::string_view(text).substr(equals + 1);
    if ((setting.chosen = parseRgbText(value)))
        return setting;
    const auto word = parseWordText(value);
    if (!word)
        return std::nullopt;
    setting.word = *word;
    return setting;
}

}  // namespace

std::optional<FlagChanges> readFlagChanges(const std::vector<std::string>& colours,
                                           const std::string& type, std::string& why) {
    FlagChanges changes;
    for (const std::string& text : colours) {
        const std::optional<ColourSetting> setting = readColour(text);
        if (!setting) {
            why = "colore non valido: \"" + text + "\" (" + kColourForm + ")";
            return std::nullopt;
        }
        for (const ColourSetting& earlier : changes.colours) {
            if (earlier.k == setting->k) {
                why = "il colore " + std::to_string(setting->k) + " è dato due volte";
                return std::nullopt;
            }
        }
        changes.colours.push_back(*setting);
    }
    if (!type.empty() && !(changes.type = parseTypeText(type))) {
        why = "tipo non valido: \"" + type + "\" (due cifre esadecimali, 00–FF)";
        return std::nullopt;
    }
    return changes;
}

bool makeFlagChanges(FlagDraft& draft, const FlagChanges& changes, std::optional<int> team,
                     std::string& why) {
    if (!changes.colours.empty() && !draft.coloursEditable()) {
        why = std::string(team ? kTeams[static_cast<std::size_t>(*team)].label : "la squadra") +
              " non ha colori propri: si può cambiare solo il suo tipo";
        return false;
    }
    for (const ColourSetting& setting : changes.colours) {
        if (setting.chosen)
            draft.setColour(setting.k, *setting.chosen);
        else
            draft.setWord(setting.k, setting.word);
    }
    if (changes.type)
        draft.setType(*changes.type);
    return true;
}

void ChangeOptions::declare(CLI::App& command) {
    command
        .add_option("--colour", colours,
                    "cambia il colore K (1–15): K=#RRGGBB, arrotondato a 5 bit per canale con il "
                    "bit 15 del colore di partenza, o K=WORD, la parola a 16 bit esatta (8000: "
                    "nero, 0000: trasparente; salvata come 00 80, 00 00); ripetibile")
        ->allow_extra_args(false);
    command.add_option("--type", type, "cambia il tipo della bandiera: due cifre esadecimali");
}

}  // namespace tavrel::tool
