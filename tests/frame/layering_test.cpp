// The include rules of the source tree, checked on the sources themselves:
// frame/ folders include only their own layer and the layers listed before it
// in frame/README.md, never a control or the host; a public header (no _p.h)
// includes only public headers, so the installed headers stand on their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSource = KORVA_SOURCE_DIR;

std::string readFile(const fs::path& p) {
    std::ifstream in(p);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The layer folders, lowest first, as the table in frame/README.md lists them.
std::vector<std::string> layersFromReadme() {
    static const std::regex row(R"(^\| `([a-z_]+)/` \|)");
    std::vector<std::string> out;
    std::istringstream in(readFile(kSource / "frame" / "README.md"));
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_search(line, m, row))
            out.push_back(m[1]);
    }
    return out;
}

std::vector<std::string> quotedIncludes(const std::string& text) {
    static const std::regex inc(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_search(line, m, inc))
            out.push_back(m[1]);
    }
    return out;
}

// Why `included` may not be included from a file of frame/`layer`; empty when it may.
std::string layerViolation(const std::vector<std::string>& layers, const std::string& layer,
                           const std::string& included) {
    if (included == "korvactl_export.h")
        return {};
    const auto rank = [&](const std::string& l) {
        return std::find(layers.begin(), layers.end(), l) - layers.begin();
    };
    if (included.rfind("frame/", 0) != 0)
        return "frame/ includes only from frame/";
    const std::string target = included.substr(6, included.find('/', 6) - 6);
    if (rank(target) == static_cast<std::ptrdiff_t>(layers.size()))
        return "frame/" + target + " is no layer of frame/README.md";
    if (rank(target) > rank(layer))
        return target + " lies above " + layer;
    return {};
}

std::vector<std::string> headersAndSources(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file() && (e.path().extension() == ".h" || e.path().extension() == ".cpp"))
            out.push_back(fs::relative(e.path(), kSource).generic_string());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(FrameLayering, CheckerTellsAllowedFromForbiddenIncludes) {
    const std::vector<std::string> layers{"values", "platform", "runtime", "component"};
    struct Case {
        const char* layer;
        const char* included;
        bool allowed;
    } cases[] = {
        {"runtime", "frame/runtime/site.h", true},
        {"runtime", "frame/values/value.h", true},
        {"runtime", "korvactl_export.h", true},
        {"values", "frame/platform/platform_p.h", false},
        {"runtime", "frame/component/catalogue_p.h", false},
        {"component", "pane/pane.h", false},
        {"elements", "host/script.h", false},
        {"runtime", "frame/nowhere/x.h", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(layerViolation(layers, c.layer, c.included).empty(), c.allowed)
            << c.layer << " includes " << c.included;
}

TEST(FrameLayering, ReadmeListsEveryFolderOfFrame) {
    const std::vector<std::string> layers = layersFromReadme();
    ASSERT_GE(layers.size(), 5u);
    for (const auto& e : fs::directory_iterator(kSource / "frame")) {
        if (!e.is_directory())
            continue;
        const std::string name = e.path().filename().string();
        EXPECT_NE(std::find(layers.begin(), layers.end(), name), layers.end())
            << "frame/" << name << " is missing from frame/README.md";
    }
}

TEST(FrameLayering, IncludesPointDownTheLayers) {
    const std::vector<std::string> layers = layersFromReadme();
    for (const std::string& layer : layers) {
        for (const std::string& file : headersAndSources(kSource / "frame" / layer)) {
            for (const std::string& inc : quotedIncludes(readFile(kSource / file))) {
                const std::string why = layerViolation(layers, layer, inc);
                EXPECT_TRUE(why.empty()) << file << " includes " << inc << ": " << why;
            }
        }
    }
}

// Folders whose headers are the library's (the host, tests and tools are not).
TEST(PublicHeaders, IncludeOnlyPublicHeaders) {
    const std::vector<std::string> skip{"tests", "bench", "examples", "host", "docs", "scripts", "cmake"};
    int checked = 0;
    for (const auto& top : fs::directory_iterator(kSource)) {
        const std::string name = top.path().filename().string();
        if (!top.is_directory() || name.starts_with('.') || name.starts_with("build") ||
            std::find(skip.begin(), skip.end(), name) != skip.end())
            continue;
        for (const std::string& file : headersAndSources(top.path())) {
            if (!file.ends_with(".h") || file.ends_with("_p.h"))
                continue;
            ++checked;
            for (const std::string& inc : quotedIncludes(readFile(kSource / file)))
                EXPECT_FALSE(inc.ends_with("_p.h")) << "public header " << file << " includes " << inc;
        }
    }
    EXPECT_GE(checked, 10); // the walk found the tree
}

} // namespace
