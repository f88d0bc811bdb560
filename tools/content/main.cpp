// content: builds the game's sample packages from the text sources under data/.
//   content build <data folder> <output folder> [--archive] [--map <folder>] [--stamp <file>] <group>...
//   content check <data folder> <output folder> <map folder> [--stamp <file>]
//   content groups            lists the build steps and their packages
//   content probe <data folder> <output folder> <shot.png> <Screen>/<widget>=image|ink...
//                             checks a window shot's pixels against the layouts (ShotProbe.h)
//   content where <data folder> <Screen>/<widget>...
//                             each widget's box on its screen's design: "x y width height" a line
//   content testpack system <test data folder> <output folder> [<ttf file>]
//   content testpack ui <test data folder> <package mount path> <ttf file>
//   content testpack strings <source file> <table file>
//                             the packages the tests read, from the test data
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/content/Checker.h"
#include "tools/content/ContentBuild.h"
#include "tools/content/ShotProbe.h"
#include "tools/content/TestPackages.h"

namespace {

int Usage() {
    fprintf(stderr,
            "usage: content build <data folder> <output folder> [--archive] [--map <folder>] [--stamp <file>] "
            "<group>...\n       content check <data folder> <output folder> <map folder> [--stamp <file>]\n"
            "       content groups\n"
            "       content probe <data folder> <output folder> <shot.png> <Screen>/<widget>=image|ink...\n"
            "       content where <data folder> <Screen>/<widget>...\n"
            "       content testpack system <test data> <output folder> [<ttf file>]\n"
            "       content testpack ui <test data> <package mount path> <ttf file>\n"
            "       content testpack strings <source file> <table file>\n");
    return 2;
}

int Build(int argc, char** argv) {
    if (argc < 4)
        return Usage();
    const std::string data = argv[2];
    const std::string out = argv[3];
    bool archive = false;
    std::string map;
    std::string stamp;
    std::vector<const content::Group*> groups;
    for (int i = 4; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--archive") {
            archive = true;
        } else if ((arg == "--map" || arg == "--stamp") && i + 1 < argc) {
            (arg == "--map" ? map : stamp) = argv[++i];
        } else if (const content::Group* group = content::FindGroup(arg)) {
            groups.push_back(group);
        } else {
            fprintf(stderr, "content: unknown step \"%s\"\n", arg.c_str());
            return 2;
        }
    }
    if (groups.empty())
        for (const content::Group& group : content::Groups())
            groups.push_back(&group);
    const size_t errors = content::BuildGroups(data, out, groups, archive, map, [](const std::string& line) {
        fprintf(stderr, "%s\n", line.c_str());
    });
    if (errors) {
        fprintf(stderr, "content build: %zu errors\n", errors);
        return 1;
    }
    if (!stamp.empty()) {
        std::ofstream file(stamp, std::ios::trunc);
        file << "ok\n";
    }
    return 0;
}

int Check(int argc, char** argv) {
    if (argc != 5 && !(argc == 7 && !strcmp(argv[5], "--stamp")))
        return Usage();
    content::Checker checker(argv[2], argv[3], argv[4]);
    checker.Run();
    // The first warnings only: the totals line counts them all.
    constexpr size_t kShownWarnings = 20;
    for (size_t i = 0; i < checker.Warnings().size() && i < kShownWarnings; ++i)
        fprintf(stderr, "%s\n", checker.Warnings()[i].c_str());
    if (checker.Warnings().size() > kShownWarnings)
        fprintf(stderr, "content check: %zu more warnings not shown\n", checker.Warnings().size() - kShownWarnings);
    for (const std::string& line : checker.Errors())
        fprintf(stderr, "%s\n", line.c_str());
    printf("%s\n%s\n", checker.CountsLine().c_str(), checker.TotalsLine().c_str());
    if (!checker.Errors().empty())
        return 1;
    if (argc == 7) {
        std::ofstream file(argv[6], std::ios::trunc);
        file << "ok\n";
    }
    return 0;
}

int TestPack(int argc, char** argv) {
    const std::string kind = argc > 2 ? argv[2] : "";
    bool ok = false;
    if (kind == "system" && (argc == 5 || argc == 6))
        ok = content::WriteTestSystemPackages(argv[3], argv[4], argc == 6 ? argv[5] : "");
    else if (kind == "ui" && argc == 6)
        ok = content::WriteTestInterfacePackage(argv[3], argv[4], argv[5]);
    else if (kind == "strings" && argc == 5)
        ok = content::WriteStringTable(argv[3], argv[4]);
    else
        return Usage();
    return ok ? 0 : 1;
}

int Probe(int argc, char** argv) {
    if (argc < 6)
        return Usage();
    std::ifstream file(argv[4], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    platform::gfx::Image shot;
    std::string why;
    if (!file || !platform::gfx::DecodePng(bytes.data(), bytes.size(), shot, why)) {
        fprintf(stderr, "content probe: %s: %s\n", argv[4], why.empty() ? "cannot be read" : why.c_str());
        return 1;
    }
    const std::vector<std::string> failures =
        content::ProbeShot(argv[2], argv[3], shot, std::vector<std::string>(argv + 5, argv + argc));
    for (const std::string& line : failures)
        fprintf(stderr, "%s: %s\n", argv[4], line.c_str());
    printf("content probe: %s: %zu of %d checks failed\n", argv[4], failures.size(), argc - 5);
    return failures.empty() ? 0 : 1;
}

int Where(int argc, char** argv) {
    if (argc < 4)
        return Usage();
    for (int i = 3; i < argc; ++i) {
        content::WidgetBox box;
        int width = 0, height = 0;
        std::string why;
        if (!content::FindWidgetBox(argv[2], argv[i], box, width, height, why)) {
            fprintf(stderr, "content where: %s: %s\n", argv[i], why.c_str());
            return 1;
        }
        printf("%d %d %d %d\n", box.x, box.y, box.width, box.height);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    if (!strcmp(argv[1], "build"))
        return Build(argc, argv);
    if (!strcmp(argv[1], "check"))
        return Check(argc, argv);
    if (!strcmp(argv[1], "testpack"))
        return TestPack(argc, argv);
    if (!strcmp(argv[1], "probe"))
        return Probe(argc, argv);
    if (!strcmp(argv[1], "where"))
        return Where(argc, argv);
    if (!strcmp(argv[1], "groups")) {
        for (const content::Group& group : content::Groups()) {
            printf("%s:", group.name);
            for (const char* package : group.packages)
                printf(" %s", package);
            printf("\n");
        }
        return 0;
    }
    return Usage();
}
