// The screens: the five layouts and the navigation file "Sketch.Flow" (MenuXmls).
#include "tools/content/Generators.h"
#include "tools/content/InterfaceLayout.h"

namespace content {

namespace {

constexpr const char* kMenuXmls = "MenuXmls.dir";

}  // namespace

void GenerateMenuXml(Output& out) {
    const SourceFile flowSource(out.DataRoot(), "content/layouts/flow.txt");
    const std::vector<FlowScreen> screens = ReadFlow(flowSource, out);
    for (const FlowScreen& screen : screens) {
        const SourceFile source(out.DataRoot(), LayoutSourcePath(screen));
        const Layout layout = ReadLayout(source, out);
        if (layout.name.empty())
            continue;
        if (layout.name != screen.name)
            out.Error({source.Path(), 0},
                      "the layout is named \"" + layout.name + "\"; the flow shows it as \"" + screen.name + "\"");
        out.Add(kMenuXmls, screen.file, LayoutXaml(layout), {source.Path(), 0});
    }
    out.Add(kMenuXmls, "Sketch.Flow", FlowXml(screens), {flowSource.Path(), 0});
}

}  // namespace content
