// Reading the design file.
#include "catalog/design_drawing.h"

#include <charconv>
#include <sstream>
#include <stdexcept>
#include <type_traits>

namespace tavrel {
namespace {

// What each shape takes: n a number, c a colour, a final ? makes the last number optional.
// poly takes a colour and then at least three x y pairs; the bands take colour[:weight] lists.
const std::map<std::string, std::string>& signatures() {
    static const std::map<std::string, std::string> table = {
        {"fill", "c"},        {"rect", "nnnnc"},  {"disc", "nnnc"},
        {"ellipse", "nnnnc"}, {"ring", "nnnnc"},  {"line", "nnnnnc"},
        {"star", "nnnc?"},    {"sun", "nnnnnc?"}, {"checks", "nnnnnncc"},
    };
    return table;
}

class LineError : public std::runtime_error {
public:
    LineError(int line, const std::string& what)
        : std::runtime_error("design file line " + std::to_string(line) + ": " + what) {}
};

std::vector<std::string> splitWords(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// `word` read whole as a Number: a double ("2.5") or a whole number.
template <typename Number>
Number read(const std::string& word, int line) {
    Number value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size())
        throw LineError(
            line, (std::is_integral_v<Number> ? "not a whole number: " : "not a number: ") + word);
    return value;
}

double toNumber(const std::string& word, int line) {
    return read<double>(word, line);
}

int toInt(const std::string& word, int line) {
    return read<int>(word, line);
}

int slotOf(const DesignDrawing& design, const std::string& name, int line) {
    const auto it = design.colourSlots.find(name);
    if (it == design.colourSlots.end())
        throw LineError(line, "unknown colour: " + name);
    return it->second;
}

void readHeader(DesignDrawing& design, const std::vector<std::string>& words,
                const std::string& text, int line) {
    if (words.size() < 3)
        throw LineError(line, "expected: design <id> <width>x<height> <title>");
    design.id = toInt(words[1], line);
    const auto x = words[2].find('x');
    if (x == std::string::npos)
        throw LineError(line, "size must read <width>x<height>");
    design.width = toInt(words[2].substr(0, x), line);
    design.height = toInt(words[2].substr(x + 1), line);
    if (design.width <= 0 || design.height <= 0)
        throw LineError(line, "empty size");
    const std::string rest = text.substr(text.find(words[2]) + words[2].size());
    const auto first = rest.find_first_not_of(' ');
    const auto last = rest.find_last_not_of(' ');
    if (first != std::string::npos)
        design.title = rest.substr(first, last - first + 1);
}

void readColours(DesignDrawing& design, const std::vector<std::string>& words, int line) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0)
            throw LineError(line, "expected name=slot");
        const int slot = toInt(words[i].substr(eq + 1), line);
        if (slot < 1 || slot > 15)
            throw LineError(line, "colour slot must be 1..15");
        design.colourSlots[words[i].substr(0, eq)] = slot;
    }
}

Shape readBands(const DesignDrawing& design, const std::vector<std::string>& words, int line) {
    Shape shape;
    shape.kind = words[0];
    if (words.size() < 2)
        throw LineError(line, words[0] + " needs at least one colour");
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto colon = words[i].find(':');
        shape.slots.push_back(slotOf(design, words[i].substr(0, colon), line));
        const double weight =
            colon == std::string::npos ? 1.0 : toNumber(words[i].substr(colon + 1), line);
        if (weight <= 0)
            throw LineError(line, "band weights must be positive");
        shape.weights.push_back(weight);
    }
    return shape;
}

Shape readPolygon(const DesignDrawing& design, const std::vector<std::string>& words, int line) {
    if (words.size() < 8 || words.size() % 2 != 0) {
        throw LineError(line, "poly needs a colour and at least three x y pairs");
    }
    Shape shape;
    shape.kind = "poly";
    shape.slots.push_back(slotOf(design, words[1], line));
    for (std::size_t i = 2; i < words.size(); ++i)
        shape.numbers.push_back(toNumber(words[i], line));
    return shape;
}

Shape readShape(const DesignDrawing& design, const std::vector<std::string>& words, int line) {
    const std::string& kind = words[0];
    if (kind == "hbands" || kind == "vbands")
        return readBands(design, words, line);
    if (kind == "poly")
        return readPolygon(design, words, line);
    const auto sig = signatures().find(kind);
    if (sig == signatures().end())
        throw LineError(line, "unknown shape: " + kind);
    std::string pattern = sig->second;
    const bool lastOptional = !pattern.empty() && pattern.back() == '?';
    if (lastOptional)
        pattern.pop_back();
    const std::size_t given = words.size() - 1;
    if (given != pattern.size() && !(lastOptional && given == pattern.size() + 1)) {
        throw LineError(
            line, kind + " takes " + std::to_string(pattern.size()) +
                      (lastOptional ? " or " + std::to_string(pattern.size() + 1) : std::string()) +
                      " values");
    }
    Shape shape;
    shape.kind = kind;
    for (std::size_t i = 0; i < given; ++i) {
        const char what = i < pattern.size() ? pattern[i] : 'n';
        if (what == 'c') {
            shape.slots.push_back(slotOf(design, words[i + 1], line));
        } else {
            shape.numbers.push_back(toNumber(words[i + 1], line));
        }
    }
    return shape;
}

}  // namespace

std::vector<DesignDrawing> readDesigns(std::string_view fileText) {
    std::istringstream in{std::string(fileText)};
    std::vector<DesignDrawing> designs;
    int line = 0;
    for (std::string text; std::getline(in, text);) {
        ++line;
        if (const auto hash = text.find('#'); hash != std::string::npos)
            text.erase(hash);
        const auto words = splitWords(text);
        if (words.empty())
            continue;
        if (words[0] == "design") {
            designs.emplace_back();
            readHeader(designs.back(), words, text, line);
            continue;
        }
        if (designs.empty())
            throw LineError(line, "shape before the first design line");
        DesignDrawing& design = designs.back();
        if (words[0] == "colours") {
            readColours(design, words, line);
        } else {
            design.shapes.push_back(readShape(design, words, line));
        }
    }
    return designs;
}

}  // namespace tavrel
