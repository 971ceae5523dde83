#include "canvas/drawing_geometry.h"

#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/canvas_scene.h"
#include "canvas/connector_painter.h"
#include "canvas/script_document.h"
#include "paths/destinations.h"

#include <algorithm>
#include <map>
#include <utility>

namespace ry {

PictureGeometry DrawingGeometry(CanvasScene& scene) {
    const ConnectorLayout& layout = scene.Connectors();
    const ScriptDocument& doc = scene.Document();
    const ScriptTables& tables = doc.Tables();
    const ConnectorOptions options = scene.CurrentConnectorOptions();
    PictureGeometry g;
    ForEachModule(tables, doc.Script(), [&](std::int16_t module, const ModuleRecord& m) {
        if (!doc.HasBox(m.BoxIndex) || doc.ModuleOfBox(m.BoxIndex) != module)
            return;
        const QPoint at = options.boxPosition(m.BoxIndex);
        g.modules.push_back({m.Title,
                             m.Type,
                             {at.x(), at.y(), kBoxWidth, doc.BoxHeight(m.BoxIndex)},
                             m.BoxIndex == scene.StartBox()});
    });

    // The triggers of each source and destination, each once in path order: by the module led
    // to, or by the destination's text where it names no module.
    using Key = std::pair<std::int16_t, std::string_view>;
    std::map<std::pair<std::int16_t, std::int16_t>, std::vector<std::string>> toModule;
    std::map<Key, std::vector<std::string>> toText;
    const std::vector<ScriptPath> paths = ScriptPaths(tables, doc.Script());
    for (const ScriptPath& p : paths) {
        std::vector<std::string>& triggers =
            p.To >= 1 ? toModule[{p.From, p.To}] : toText[Key{p.From, p.Destination}];
        if (!p.Trigger.empty() &&
            std::find(triggers.begin(), triggers.end(), p.Trigger) == triggers.end())
            triggers.emplace_back(p.Trigger);
    }

    for (const LaidConnector& item : layout.Items()) {
        PicturePath path;
        path.from = tables.Module(item.from).Title;
        if (item.isStub) {
            path.to = item.destination;
            path.kind = item.problem ? PicturePathKind::Missing : PicturePathKind::Tag;
            path.triggers = toText[Key{item.from, item.destination}];
            path.points = StubPoints(item.stub);
            if (item.hasTag)
                path.tag = PictureText{FromQt(item.tagText), item.stub.Tag};
        } else {
            path.to = tables.Module(item.to).Title;
            path.triggers = toModule[{item.from, item.to}];
            path.points = ConnectorPoints(item.path);
        }
        if (item.hasLabel)
            path.label = PictureText{FromQt(item.labelText), item.label};
        g.paths.push_back(std::move(path));
    }
    g.leftOut = layout.LeftOut();
    return g;
}

} // namespace ry
