// The parser's help and refusals in Italian, lines wrapped for an 80-column terminal, and the
// nearest command to a mistyped one.
#include "tool/parser_text.h"

#include <algorithm>
#include <cctype>
#include <regex>
#include <sstream>

namespace tavrel::tool {
namespace {

constexpr std::size_t kNameColumn = 30;

// The words the parser puts into a help page, as CLI11 names them, and what the page says.
constexpr std::pair<const char*, const char*> kLabels[] = {
    {"Usage", "Uso"},          {"OPTIONS", "OPZIONI"},
    {"SUBCOMMAND", "COMANDO"}, {"Positionals", "Argomenti"},
    {"TEXT", "VALORE"},        {"INT", "NUMERO"},
};

// The parser's refusals that a command line of this tool can meet, and their Italian.
constexpr std::pair<const char*, const char*> kRefusals[] = {
    {"A subcommand is required", "manca il comando"},
    {"(\\S+) is required", "manca l'argomento $1"},
    {"(\\S+) excludes (\\S+)", "$1 e $2 non vanno insieme"},
    {"(\\S+): \\d+ required \\S+ missing", "$1 vuole un valore"},
    {"Could not convert: (\\S+) = (.*)", "$1 non accetta il valore \"$2\""},
};

class ItalianHelp final : public CLI::Formatter {
public:
    ItalianHelp() {
        for (const auto& [english, italian] : kLabels) label(english, italian);
        column_width(kNameColumn);
    }

    std::string make_description(const CLI::App* app) const override {
        const std::string& text = app->get_description();
        return text.empty() ? "" : wrapped(text, kHelpWidth) + "\n";
    }

    std::string make_subcommand(const CLI::App* command) const override {
        std::ostringstream out;
        CLI::detail::format_help(out, command->get_name(),
                                 wrapped(command->get_description(), kHelpWidth - kNameColumn),
                                 kNameColumn);
        return out.str();
    }

    // An argument's own name says what it is; an option shows the kind of value it takes.
    std::string make_option_opts(const CLI::Option* option) const override {
        std::string text;
        if (!option->get_positional() && option->get_type_size() != 0)
            text += " " + get_label(option->get_type_name());
        if (option->get_required())
            text += " (obbligatorio)";
        std::string excluded;
        for (const CLI::Option* other : option->get_excludes())
            excluded += (excluded.empty() ? "" : ", ") + other->get_name();
        return text + (excluded.empty() ? "" : " (non con " + excluded + ")");
    }

    std::string make_option_desc(const CLI::Option* option) const override {
        return wrapped(option->get_description(), kHelpWidth - kNameColumn);
    }
};

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Edits from one text to the other: a letter missed, added or changed, two letters swapped.
std::size_t editDistance(const std::string& from, const std::string& to) {
    std::vector<std::vector<std::size_t>> d(from.size() + 1,
                                            std::vector<std::size_t>(to.size() + 1));
    for (std::size_t i = 0; i <= from.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= to.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= from.size(); ++i) {
        for (std::size_t j = 1; j <= to.size(); ++j) {
            const std::size_t change = from[i - 1] == to[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && from[i - 1] == to[j - 2] && from[i - 2] == to[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[from.size()][to.size()];
}

}  // namespace

void speakItalian(CLI::App& app) {
    app.formatter(std::make_shared<ItalianHelp>());
    app.group("Comandi");
    app.option_defaults()->group("Opzioni");
    app.set_help_flag("-h,--help", "mostra questo aiuto ed esce");
}

std::string parseFailure(const CLI::Error& error, const std::vector<std::string>& extras) {
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr && !extras.empty()) {
        std::string words;
        for (const std::string& extra : extras) {
            if (extra.size() > 1 && extra.starts_with("-"))
                return "opzione sconosciuta: " + extra;
            words += (words.empty() ? "\"" : " \"") + extra + "\"";
        }
        return (extras.size() == 1 ? "argomento di troppo: " : "argomenti di troppo: ") + words;
    }
    const std::string english = error.what();
    for (const auto& [pattern, italian] : kRefusals) {
        const std::regex refusal(pattern);
        if (std::regex_match(english, refusal))
            return std::regex_replace(english, refusal, italian);
    }
    return "riga di comando non valida: " + english;
}

std::string wrapped(const std::string& text, std::size_t width) {
    std::istringstream words(text);
    std::string out, word;
    std::size_t line = 0;
    while (words >> word) {
        const auto length = static_cast<std::size_t>(std::count_if(
            word.begin(), word.end(), [](unsigned char c) { return (c & 0xC0) != 0x80; }));
        if (line > 0 && line + 1 + length > width) {
            out += '\n';
            line = 0;
        } else if (line > 0) {
            out += ' ';
            ++line;
        }
        out += word;
        line += length;
    }
    return out;
}

std::optional<std::string> nearestName(const std::string& typed,
                                       const std::vector<std::string>& names) {
    const std::string lowered = lowerCase(typed);
    std::optional<std::string> nearest;
    std::size_t best = 0;
    for (const std::string& name : names) {
        std::size_t distance = editDistance(lowered, lowerCase(name));
        if (lowered.size() >= 2 && lowerCase(name).starts_with(lowered))
            distance = std::min<std::size_t>(distance, 1);
        if (distance <= std::max<std::size_t>(1, name.size() / 3) &&
            (!nearest || distance < best)) {
            nearest = name;
            best = distance;
        }
    }
    return nearest;
}

}  // namespace tavrel::tool
