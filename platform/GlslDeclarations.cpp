// Finds a GLSL program's global declarations without a compiler: the runtime needs the
// parameter names before any pair of programs is linked.
#include "platform/GlslDeclarations.h"

#include <cctype>
#include <sstream>

namespace {
// The source with comments and preprocessor lines replaced by blanks.
std::string StripComments(const std::string& source) {
    std::string out;
    out.reserve(source.size());
    bool lineStart = true;
    for (size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        const char next = i + 1 < source.size() ? source[i + 1] : '\0';
        if (c == '/' && next == '/') {
            while (i < source.size() && source[i] != '\n') ++i;
            out += '\n';
            lineStart = true;
        } else if (c == '/' && next == '*') {
            i += 2;
            while (i + 1 < source.size() && !(source[i] == '*' && source[i + 1] == '/')) ++i;
            ++i;
            out += ' ';
        } else if (c == '#' && lineStart) {
            while (i < source.size() && source[i] != '\n') ++i;
            out += '\n';
        } else {
            out += c;
            if (c == '\n') {
                lineStart = true;
            } else if (!std::isspace(static_cast<unsigned char>(c))) {
                lineStart = false;
            }
        }
    }
    return out;
}

// The statements at file scope (the text between semicolons outside any braces); a
// function header before its body is dropped with the body.
std::vector<std::string> FileScopeStatements(const std::string& text) {
    std::vector<std::string> statements;
    std::string current;
    int depth = 0;
    for (const char c : text) {
        if (c == '{') {
            if (depth++ == 0) current.clear();
        } else if (c == '}') {
            if (depth > 0) --depth;
        } else if (depth == 0) {
            if (c == ';') {
                statements.push_back(current);
                current.clear();
            } else {
                current += c;
            }
        }
    }
    return statements;
}

bool IsQualifier(const std::string& word) {
    return word == "const" || word == "invariant" || word == "centroid" || word == "flat" ||
           word == "smooth" || word == "noperspective" || word == "lowp" || word == "mediump" ||
           word == "highp";
}

// The storage of a declaration's first word after the qualifiers; false for other statements.
bool ReadStorage(const std::string& word, GlslStorage& storage) {
    if (word == "uniform") {
        storage = GlslStorage::Uniform;
    } else if (word == "attribute") {
        storage = GlslStorage::Attribute;
    } else if (word == "varying") {
        storage = GlslStorage::Varying;
    } else {
        return false;
    }
    return true;
}

// Adds the names of one "storage type a, b[2], c = init" statement.
void ParseStatement(const std::string& statement, std::vector<GlslDeclaration>& out) {
    std::string spaced;
    for (const char c : statement) {
        const bool punctuation = c == ',' || c == '=' || c == '[' || c == '(' || c == ')';
        spaced += punctuation ? std::string(" ") + c + " " : std::string(1, c);
    }
    std::istringstream words(spaced);
    std::string word;
    GlslDeclaration declaration;
    while (words >> word && IsQualifier(word)) {}
    if (!ReadStorage(word, declaration.storage)) return;
    while (words >> word && IsQualifier(word)) {}
    declaration.type = word;
    bool expectName = true;
    bool skipping = false;   // inside an array size or an initialiser
    int parentheses = 0;     // commas inside a constructor do not separate names
    while (words >> word) {
        if (word == "(" || word == ")") {
            parentheses += word == "(" ? 1 : -1;
        } else if (parentheses == 0 && word == ",") {
            expectName = true;
            skipping = false;
        } else if (word == "=" || word == "[") {
            skipping = true;
        } else if (expectName && !skipping && parentheses == 0) {
            declaration.name = word;
            out.push_back(declaration);
            expectName = false;
        }
    }
}
}  // namespace

std::vector<GlslDeclaration> ParseGlslDeclarations(const std::string& source) {
    std::vector<GlslDeclaration> declarations;
    for (const std::string& statement : FileScopeStatements(StripComments(source))) {
        ParseStatement(statement, declarations);
    }
    return declarations;
}

int GlslComponentCount(const std::string& type) {
    if (type == "float") return 1;
    if (type == "vec2") return 2;
    if (type == "vec3") return 3;
    if (type == "vec4") return 4;
    if (type == "mat4") return 16;
    return 0;
}

bool IsGlslSampler(const std::string& type) {
    return type.rfind("sampler", 0) == 0;
}
