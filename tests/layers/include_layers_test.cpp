// Dependencies run one way: each top-level folder includes its own headers and those of the
// folders beneath it, never those above it or beside it. The table below is that picture;
// this test reads every project include in the tree and holds it to the table, so the picture
// cannot rot while CMake, which puts the whole tree on every include path, would let it.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The folders each folder may include directly besides itself; what those may include, it
// may include too. Folders that do not exist yet keep their row.
const std::map<std::string, std::vector<std::string>> kMayInclude = {
    {"base", {}}, // status codes, the Clock, the loader's link interface
    {"log", {"base"}},
    {"gpsload", {"base", "log"}},
    {"link", {"base", "log"}},
    {"dialogs", {"base"}}, // toolkit-free dialog templates and their texts
    {"pages", {"gpsload", "link", "dialogs"}},
    {"ui", {"pages"}},    // the Qt windows
    {"win32", {"pages"}}, // the native Windows windows
    {"app", {"ui"}},
    {"sim", {}}, // the virtual Yardmark shares none of the program's code
    {"tools", {"pages", "sim"}},
    {"demo", {"app", "sim"}},
    {"testsupport", {}}, // scratch folders and the like for tests, fuzz targets, benchmarks
    {"fuzz", {"pages", "sim", "testsupport"}},
    {"tests", {"demo", "fuzz", "tools", "win32"}},
    {"bench", {"tests"}},
};

std::set<std::string> Allowed(const std::string& folder) {
  std::set<std::string> allowed{folder};
  std::vector<std::string> pending{folder};
  while (!pending.empty()) {
    const std::string next = pending.back();
    pending.pop_back();
    for (const auto& below : kMayInclude.at(next)) {
      if (allowed.insert(below).second)
        pending.push_back(below);
    }
  }
  return allowed;
}

bool IsSource(const fs::path& path) {
  static const std::set<std::string> kExtensions{".h", ".hpp", ".cpp", ".cc", ".c"};
  return kExtensions.count(path.extension().string()) != 0;
}

std::string TopFolder(const fs::path& relative) {
  return relative.begin()->string();
}

// The top-level folder an include reaches from `file`: the path beside the file when there
// is one (a bare name, or a generated file such as a .moc, stays in the file's folder), the
// first part of a path from the root otherwise.
std::string IncludedFolder(const fs::path& root, const fs::path& file, const std::string& name) {
  const fs::path beside = file.parent_path() / name;
  if (fs::exists(beside))
    return TopFolder(fs::weakly_canonical(beside).lexically_relative(root));
  const fs::path named(name);
  if (!named.has_parent_path())
    return TopFolder(file.lexically_relative(root));
  return TopFolder(named);
}

struct Scan {
  std::vector<std::string> violations;
  std::set<std::string> foldersSeen;
  int includes = 0;
};

Scan ScanTree(const fs::path& root) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
  Scan scan;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const fs::path& path = it->path();
    if (it->is_directory()) {
      // Hidden folders and build trees are not the project's source.
      if (path.filename().string().front() == '.' || fs::exists(path / "CMakeCache.txt") ||
          (path.parent_path() == root && path.filename() == "build"))
        it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file() || !IsSource(path))
      continue;
    const fs::path relative = path.lexically_relative(root);
    if (!relative.has_parent_path()) {
      scan.violations.push_back(relative.string() + ": a source file outside every folder");
      continue;
    }
    const std::string folder = TopFolder(relative);
    if (kMayInclude.count(folder) == 0) {
      scan.violations.push_back(relative.string() + ": folder " + folder +
                                "/ has no row in the table of allowed includes");
      continue;
    }
    scan.foldersSeen.insert(folder);
    const std::set<std::string> allowed = Allowed(folder);
    std::ifstream in(path);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      std::smatch match;
      if (!std::regex_search(line, match, kInclude))
        continue;
      ++scan.includes;
      const std::string reached = IncludedFolder(root, path, match[1].str());
      if (allowed.count(reached) == 0)
        scan.violations.push_back(relative.string() + ":" + std::to_string(number) +
                                  ": includes \"" + match[1].str() + "\", but " + folder +
                                  "/ may not depend on " + reached + "/");
    }
  }
  return scan;
}

TEST(IncludeLayers, EveryProjectIncludeFollowsTheTable) {
  const char* sourceDir = std::getenv("QUILLON_SOURCE_DIR");
  ASSERT_NE(sourceDir, nullptr) << "QUILLON_SOURCE_DIR names the tree to read";
  const fs::path root = fs::weakly_canonical(sourceDir);
  const Scan scan = ScanTree(root);

  // A scan that read nothing would pass whatever the tree holds.
  for (const char* folder : {"base", "log", "gpsload", "link", "pages", "sim", "tests"})
    EXPECT_EQ(scan.foldersSeen.count(folder), 1u) << "no sources read in " << folder << "/";
  EXPECT_GT(scan.includes, 500);

  std::string report;
  for (const auto& violation : scan.violations)
    report += "  " + violation + "\n";
  EXPECT_TRUE(scan.violations.empty()) << "includes against the layers:\n" << report;
}

} // namespace
