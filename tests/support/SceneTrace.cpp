#include "tests/support/SceneTrace.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/audio/PCAudioSoundImpl.h"
#include "engine/audio/PCAudioStreamImpl.h"
#include "engine/core/AGController.h"
#include "engine/graphics/AGEmitter.h"
#include "engine/graphics/AGGraphicDevice.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSprite.h"
#include "engine/graphics/AGText.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/AGVertexBufferDynamic.h"
#include "engine/graphics/PCTexture.h"
#include "engine/graphics/PCCam.h"

namespace scene {
namespace {

long long Q(float v) { return std::isfinite(v) ? std::llround(double(v) * 64.0) : 0x7fffffffLL; }

// One value as printf formats it.
template <typename T>
std::string Printf(const char* format, T value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string N(float v) { return Printf("%g", double(Q(v)) / 64.0); }

std::string V(const AGVec3& v) { return "(" + N(v.x) + "," + N(v.y) + "," + N(v.z) + ")"; }

// Equal, or pictures at the same time whose cells' channels differ by a few levels at most.
bool Matches(const std::string& now, const std::string& was) {
    const size_t at = now.find(" picture ") + 9;  // 8 when there is none
    if (now == was || at < 9 || now.size() != was.size() || now.compare(0, at, was, 0, at))
        return now == was;
    for (size_t i = at; i + 1 < now.size(); i += 2)
        if (std::abs(std::stoi(now.substr(i, 2), nullptr, 16) - std::stoi(was.substr(i, 2), nullptr, 16)) > 6)
            return false;
    return true;
}

struct Digest {
    uint64_t h = 1469598103934665603ull;
    void Add(uint64_t v) {
        for (int i = 0; i < 8; ++i, v >>= 8)
            h = (h ^ (v & 0xff)) * 1099511628211ull;
    }
    void Add(float v) { Add(uint64_t(Q(v))); }
    void Add(const platform::gfx::Matrix& m) {
        for (float f : m.m)
            Add(f);
    }
    void Add(const AGVertexBuffer* vb) {
        if (!vb)
            return Add(uint64_t(0));
        for (const AGVec3& p : vb->m_positions)
            Add(p.x), Add(p.y), Add(p.z);
        for (const AGVec2& t : vb->m_texCoords)
            Add(t.x), Add(t.y);
        for (u32 c : vb->m_colors)
            Add(uint64_t(c));
    }
    std::string Hex() const { return Printf("%08x", unsigned(h ^ (h >> 32))); }
};

std::string Hex(uint32_t v) { return Printf("%x", v); }

// Name, diffuse colour and, per slot, the current frame and texture.
std::string Material(const AGMaterial* material) {
    if (!material)
        return "-";
    std::string out = Hex(material->NameId()) + ":" + Hex(material->m_diffuse);
    for (u32 i = 0; i < material->SlotCount(); ++i)
        if (const AGTextureSlot* slot = material->GetSlot(i)) {
            const PCTexture* texture = slot->GetCurrentTexture();
            out += "/" + std::to_string(slot->GetCurrentFrame()) + ":" + (texture ? Hex(texture->NameId()) : "-");
        }
    return out;
}

// The mode and frame range; the frame reached shows in the vertices and places.
std::string Controller(const AGController* c) {
    return c ? " ctl" + std::to_string(c->GetMode()) + ":" + N(c->GetStartFrame()) + "-" + N(c->GetEndFrame()) : "";
}

std::string Renderable(AGRenderable& r) {
    AGVec3 at;
    r.GetPosition(at);
    std::ostringstream out;
    out << "t" << r.GetRenderableType() << " f" << r.m_flags << " c" << Hex(r.m_color) << " k" << N(r.m_sortKey)
        << " at" << V(at);
    Digest d;
    switch (r.GetRenderableType()) {
    case AGRenderable::kSprite: {
        auto& s = static_cast<AGSprite&>(r);
        out << " " << s.GetWidth() << "x" << s.GetHeight() << " b" << s.GetBlendMode() << " m"
            << Material(s.GetMaterial());
        d.Add(s.GetWorld()), d.Add(s.GetVertexBuffer());
        break;
    }
    case AGRenderable::kText: {
        auto& t = static_cast<AGText&>(r);
        out << " \"" << std::string(t.GetString().c_str()) << "\" g" << t.PlacedGlyphCount() << "/" << t.GlyphCount()
            << " b" << t.GetBlendMode();
        d.Add(t.GetWorld()), d.Add(t.GetVertexBuffer());
        break;
    }
    case AGRenderable::kModel: {
        auto& m = static_cast<AGModel&>(r);
        out << " o" << N(m.GetOpacity()) << " meshes";
        for (u32 i = 0; i < m.MeshCount(); ++i)
            out << " " << m.IsMeshDrawn(i) << Material(m.MaterialOfMesh(i));
        out << Controller(m.GetController());
        d.Add(m.GetWorld()), d.Add(m.GetVertexBuffer());
        if (const AGVertexBufferDynamic* skinned = m.GetDynamicVertexBuffer())
            for (const AGVec3& p : skinned->m_positions)
                d.Add(p.x), d.Add(p.y), d.Add(p.z);
        break;
    }
    case AGRenderable::kEmitter: {
        auto& e = static_cast<AGEmitter&>(r);
        out << " run" << e.IsRunning() << " live" << e.LiveCount() << " quads" << e.QuadCount()
            << Controller(e.GetController());
        d.Add(&e.Quads());
        break;
    }
    default:
        break;
    }
    out << " v" << d.Hex();
    return out.str();
}

void Layer(const AGGraphicLayer& layer, const std::string& key, std::map<std::string, std::string>& out) {
    std::ostringstream line;
    line << "e" << layer.IsEnabled() << " o" << N(layer.GetOpacity()) << " at" << V(layer.GetPosition()) << " "
         << layer.GetWidth() << "x" << layer.GetHeight() << " k" << layer.GetOrderKey() << " n"
         << layer.RenderableCount();
    if (const PCCam* cam = layer.GetCamera()) {
        const platform::gfx::Viewport& vp = cam->Viewport();
        Digest projection;
        projection.Add(cam->ProjectionMatrix());
        line << " cam" << V(cam->GetEye()) << V(cam->GetTarget()) << " vp" << vp.x << "," << vp.y << ","
             << vp.width << "x" << vp.height << " p" << projection.Hex();
    }
    out[key] = line.str();
    for (u32 i = 0; i < layer.RenderableCount(); ++i)
        if (AGRenderable* r = layer.GetRenderable(i))
            out[key + "#" + std::to_string(i)] = Renderable(*r);
    for (u32 i = 0; i < layer.ChildCount(); ++i)
        if (const AGGraphicLayer* child = layer.GetChild(i))
            Layer(*child, key + "." + std::to_string(i), out);
}

// The players of one of the audio manager's lists, keyed by kind and place. The read-in-flight
// bit is left out: when a stream's file read completes depends on the machine.
template <class Player>
void Players(AGArray<AGAudioVoice*>& list, const char* kind, std::map<std::string, std::string>& out) {
    for (u32 i = 0; i < list.Count(); ++i)
        if (auto* player = dynamic_cast<Player*>(list[i]))
            out[std::string(kind) + std::to_string(i)] =
                player->Playback().Name() + " state " + Hex(player->GetState() & ~AGAudioPlayerImpl::kReadInFlight) +
                " cat " + std::to_string(player->GetCategory()) + " gain " + N(player->GetVolume());
}

// Key ("L0.2#5", "S3"), then the line's text.
std::map<std::string, std::string> Describe(const AGGraphicDevice& device) {
    std::map<std::string, std::string> out;
    for (u32 i = 0; i < device.GetLayerCount(); ++i)
        if (const AGGraphicLayer* layer = device.GetLayer(i))
            Layer(*layer, "L" + std::to_string(i), out);
    if (PCAudioManagerImpl* audio = PCAudioManagerImpl::Get()) {
        std::string volumes = "gains " + N(audio->GetMasterVolume());
        for (u32 c = 0; c < PCAudioManagerImpl::kCategoryCount; ++c)
            volumes += " " + N(audio->GetCategoryVolume(c));
        out["A"] = volumes;
        Players<PCAudioSoundImpl>(audio->Sounds(), "S", out);
        Players<PCAudioStreamImpl>(audio->Streams(), "T", out);
    }
    return out;
}

}  // namespace

void SceneTrace::Capture(const AGGraphicDevice& device, uint64_t timeMs) {
    std::map<std::string, std::string> now = Describe(device);
    const std::string stamp = std::to_string(timeMs) + " ";
    for (const auto& [key, line] : m_Last)
        if (!now.count(key))
            m_Log.push_back(stamp + key + " gone");
    // Lines that changed only in their vertex digest (things in motion) make one line together.
    auto withoutDigest = [](const std::string& line) { return line.substr(0, line.rfind(" v")); };
    Digest moved;
    int movedCount = 0;
    for (const auto& [key, line] : now) {
        auto last = m_Last.find(key);
        if (last != m_Last.end() && last->second == line)
            continue;
        if (last != m_Last.end() && withoutDigest(last->second) == withoutDigest(line)) {
            for (char c : key + line)
                moved.Add(uint64_t(uint8_t(c)));
            ++movedCount;
        } else {
            m_Log.push_back(stamp + key + " " + line);
        }
    }
    if (movedCount)
        m_Log.push_back(stamp + "moved " + std::to_string(movedCount) + " v" + moved.Hex());
    m_Last = std::move(now);
    if (!m_Picture.empty() && timeMs >= m_NextPictureMs) {
        m_Log.push_back(stamp + "picture " + m_Picture);
        m_NextPictureMs = timeMs + 2000;
    }
}

// A frame capture's bitmap: unpadded rows.
void SceneTrace::ReceiveBitmap(const AGBitmap& bitmap) {
    m_Picture.clear();
    for (size_t i = 0; i < size_t(bitmap.width) * bitmap.height; ++i)
        m_Picture += Printf("%06x", static_cast<const u32*>(bitmap.pixels)[i] & 0xFFFFFFu);
}

std::string CompareWithGolden(const std::vector<std::string>& log, const std::string& goldenPath) {
    if (const char* update = std::getenv("TALLYVOX_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        std::ofstream file(goldenPath);
        for (const std::string& line : log)
            file << line << "\n";
        return file ? "" : "cannot write " + goldenPath;
    }
    std::ifstream file(goldenPath);
    if (!file)
        return "no golden file " + goldenPath + " (TALLYVOX_UPDATE_GOLDEN=1 writes it)";
    std::vector<std::string> golden;
    for (std::string line; std::getline(file, line);)
        golden.push_back(line);
    std::string report;
    int shown = 0;
    for (size_t i = 0; i < std::max(log.size(), golden.size()) && shown < 8; ++i) {
        const std::string* now = i < log.size() ? &log[i] : nullptr;
        const std::string* was = i < golden.size() ? &golden[i] : nullptr;
        if (now && was && Matches(*now, *was))
            continue;
        report += "line " + std::to_string(i + 1) + "\n  expected: " + (was ? *was : "<end>") + "\n  actual:   " +
                  (now ? *now : "<end>") + "\n";
        ++shown;
    }
    return report;
}

}  // namespace scene
