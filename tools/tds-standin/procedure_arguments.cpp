#include "procedure_arguments.hpp"

#include "server_error.hpp"
#include "text_encoding.hpp"

#include <algorithm>

namespace standin {

std::map<std::string, Literal> namedArguments(const ProcedureCall& c,
                                              const std::vector<std::string>& signature) {
    std::map<std::string, Literal> out;
    for (size_t i = 0; i < c.arguments.size(); ++i) {
        const auto& a = c.arguments[i];
        std::string name = a.name.empty() ? (i < signature.size() ? signature[i] : "") : a.name;
        if (std::find(signature.begin(), signature.end(), name) == signature.end()) {
            throw SqlError(8145, 16, 2,
                           (a.name.empty() ? std::string("Too many arguments")
                                           : a.name + " is not a parameter") +
                               " for procedure " + c.procedure + ".");
        }
        out[name] = a.value;
    }
    return out;
}

std::optional<std::string> textArgument(const std::map<std::string, Literal>& args,
                                        const std::string& name) {
    auto it = args.find(name);
    if (it == args.end() || it->second.kind == Literal::Kind::Null) return std::nullopt;
    return it->second.text;
}

namespace {

bool likeMatch(const std::u16string& text, size_t t, const std::u16string& pattern, size_t p) {
    for (; p < pattern.size(); ++p, ++t) {
        char16_t c = pattern[p];
        if (c == u'%') {
            for (size_t k = t; k <= text.size(); ++k) {
                if (likeMatch(text, k, pattern, p + 1)) return true;
            }
            return false;
        }
        if (c == u'[' && p + 2 < pattern.size() && pattern[p + 2] == u']') {
            c = pattern[++p];  // [x] stands for x itself
            ++p;
            if (t >= text.size() || text[t] != c) return false;
            continue;
        }
        if (t >= text.size() || (c != u'_' && text[t] != c)) return false;
    }
    return t == text.size();
}

}  // namespace

bool like(const std::string& text, const std::optional<std::string>& pattern) {
    if (!pattern) return true;
    return likeMatch(utf8ToUtf16(foldCase(text)), 0, utf8ToUtf16(foldCase(*pattern)), 0);
}

}  // namespace standin
