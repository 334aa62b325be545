// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The core's components stay levelled: no component reaches itself again through the
// #include lines of its header and source. A component is a header with its source file of the
// same name (common/CWnd.h with common/CWnd.cpp); an include of a header is a use of its
// component. A cycle is printed component by component, so it can be cut where it is cheapest.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

const fs::path kSource = QUORBLEX_SOURCE_DIR;
constexpr const char* kFolders[] = {"common", "app", "scan", "abductee", "settings", "host"};

using Graph = std::map<std::string, std::set<std::string>>;

// Component name (path without extension, relative to the source root) -> components it uses.
Graph ReadComponents() {
  Graph graph;
  const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)\.h")re");
  for (const char* folder : kFolders) {
    for (const auto& entry : fs::recursive_directory_iterator(kSource / folder)) {
      const fs::path& path = entry.path();
      if (path.extension() != ".h" && path.extension() != ".cpp") continue;
      const std::string name = fs::relative(path, kSource).replace_extension().generic_string();
      auto& uses = graph[name];
      std::ifstream in(path);
      std::smatch m;
      for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, m, include) && m[1] != name) uses.insert(m[1]);
      }
    }
  }
  // Only our own components count; standard and toolkit headers are leaves.
  for (auto& [name, uses] : graph)
    std::erase_if(uses, [&](const auto& u) { return !graph.count(u); });
  return graph;
}

// A cycle through the graph, first component repeated at the end; empty when there is none.
std::vector<std::string> FindCycle(const Graph& graph) {
  enum class Mark { New, Open, Done };
  std::map<std::string, Mark> mark;
  std::vector<std::string> path, cycle;
  std::function<bool(const std::string&)> visit = [&](const std::string& node) {
    mark[node] = Mark::Open;
    path.push_back(node);
    for (const std::string& next : graph.at(node)) {
      if (mark[next] == Mark::Open) {
        cycle.assign(std::find(path.begin(), path.end(), next), path.end());
        cycle.push_back(next);
        return true;
      }
      if (mark[next] == Mark::New && visit(next)) return true;
    }
    path.pop_back();
    mark[node] = Mark::Done;
    return false;
  };
  for (const auto& [name, uses] : graph) {
    if (mark[name] == Mark::New && visit(name)) break;
  }
  return cycle;
}

std::string Text(const std::vector<std::string>& cycle) {
  std::string s;
  for (const std::string& c : cycle) s += (s.empty() ? "" : " -> ") + c;
  return s;
}

}  // namespace

TEST(Levels, NoComponentReachesItselfThroughItsIncludes) {
  const Graph graph = ReadComponents();
  ASSERT_TRUE(graph.count("common/WindowSystem")) << "the sources are not where they should be";
  ASSERT_TRUE(graph.count("host/headless/HeadlessHost"));
  const std::vector<std::string> cycle = FindCycle(graph);
  EXPECT_TRUE(cycle.empty()) << "a dependency cycle: " << Text(cycle);
}

TEST(Levels, TheCoreUsesNeitherTheProgramNorAHost) {
  const Graph graph = ReadComponents();
  for (const auto& [name, uses] : graph) {
    if (name.rfind("common/", 0) != 0) continue;
    for (const std::string& u : uses)
      EXPECT_EQ(u.rfind("common/", 0), 0u) << name << " uses " << u << " from above the core";
  }
}

// The hosts stand side by side on the core: the shared layer uses only the core; each host the
// core and the shared layer, never another host. A host that shows windows (all but the
// simulator's) sees the core's windows only as the plain models it is handed: never the window
// records, the window system or the platform's vocabulary of the core.
TEST(Levels, EachHostStandsOnTheCoreAndTheSharedLayerAlone) {
  const Graph graph = ReadComponents();
  ASSERT_TRUE(graph.count("host/shared/Layout"));
  const std::set<std::string> unseen = {"common/Window", "common/WindowSystem",
                                        "common/WinTypes", "common/DialogTemplate"};
  auto folderOf = [](const std::string& name) {
    const auto slash = name.find('/', 5);
    return name.substr(0, slash);
  };
  for (const auto& [name, uses] : graph) {
    if (name.rfind("host/", 0) != 0) continue;
    const std::string own = folderOf(name);
    for (const std::string& u : uses) {
      if (u.rfind("common/", 0) == 0) {
        const bool showsWindows = own != "host/headless" && own != "host/shared";
        EXPECT_FALSE(showsWindows && unseen.count(u)) << name << " reaches around the seam to " << u;
        continue;
      }
      const std::string theirs = folderOf(u);
      const bool allowed = theirs == own || (theirs == "host/shared" && own != "host/shared");
      EXPECT_TRUE(allowed) << name << " uses " << u;
    }
  }
}

TEST(Levels, TheCycleFinderFindsACycleAndNamesItsComponents) {
  const Graph levelled = {{"a", {"b", "c"}}, {"b", {"c"}}, {"c", {}}};
  EXPECT_TRUE(FindCycle(levelled).empty());
  const Graph tangled = {{"a", {"b"}}, {"b", {"c"}}, {"c", {"d", "b"}}, {"d", {}}};
  EXPECT_EQ(Text(FindCycle(tangled)), "b -> c -> b");
}
