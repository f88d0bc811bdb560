#include "gameservices/bridge/systems/VideoProcessingSystem.h"

#include "engine/core/AGAudioManager.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGVideoPlayer.h"
#include "engine/core/FHandler.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/GameVideoAssetFactory.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/RenderableModelData.h"

namespace GameServices::Bridge {

using Entities::Set;
using Entities::VideoAsset;
namespace Keys = Entities::VolatileDataKeys;

namespace {

AGVideoPlayerImpl* Player() {
    AGVideoPlayer* player = AGVideoPlayer::Get();
    return player ? player->GetImpl() : nullptr;
}

bool IsStopped(const AGVideoPlayerImpl& player) {
    return player.GetState() == AGVideoPlayerImpl::kStateClosed;
}

// The player's loop flag travels with Play; it is kept here until then.
bool s_Loop = false;

FHandler& VideoEnded() {
    static FHandler s_event;
    return s_event;
}

class FireVideoEnded : public IDelegate {
public:
    void Invoke() override { VideoEnded().Fire(); }
};
FireVideoEnded s_Fire;

void Release(VideoAsset& asset) {
    delete asset.VolatileDatas.GetVideoData();
    asset.VolatileDatas.Remove(Keys::kDATA_VIDEO);
}

}  // namespace

bool VideoProcessingSystem::GetPlayerLoop() {
    return s_Loop;
}

void VideoProcessingSystem::SetPlayerLoop(bool loop) {
    s_Loop = loop;
}

void VideoProcessingSystem::SetVideoData(VideoAsset& asset, const VideoData& data) {
    if (VideoData* kept = asset.VolatileDatas.GetVideoData())
        *kept = data;
    else
        asset.VolatileDatas.Set(Keys::kDATA_VIDEO, new VideoData(data));
}

void VideoProcessingSystem::Initialize(Set*) {
    s_Loop = false;
}

void VideoProcessingSystem::Update(Set* set) {
    AGVideoPlayerImpl* player = Player();
    if (!set || !player)
        return;
    for (VideoAsset* asset : set->m_VideoAssets) {
        if (!asset || asset->m_Reset || !IsStopped(*player))
            continue;
        player->SetVolume(asset->m_Volume);
        s_Loop = asset->m_IsLooped;
        asset->m_Reset = true;
    }
}

void VideoProcessingSystem::Cleanup(Set* set) {
    if (!set)
        return;
    for (VideoAsset* asset : set->m_VideoAssets)
        if (asset)
            Release(*asset);
}

VideoAsset* VideoProcessingSystem::CreateVideoAsset(Set* set, const TString<char>& name,
                                                    const TString<char>& fileName) {
    if (!set)
        return nullptr;
    Entities::GameObjectFactory<VideoAsset>* pool = Entities::GameVideoAssetFactory::Instance()->GetDefaultFactory();
    VideoAsset* asset = pool ? pool->Alloc() : nullptr;
    if (!asset) {
        AGReport("CreateVideoAsset: no free video asset for %s", name.c_str());
        return nullptr;
    }
    asset->Name = name;
    SetVideoData(*asset, VideoData(fileName, TString<char>()));
    asset->m_Volume = 1.0f;
    asset->m_IsLooped = true;
    asset->m_IsPlaying = true;
    asset->m_IsFullScreen = false;
    set->m_VideoAssets.push_back(asset);
    PlayVideo(set, name);
    return asset;
}

void VideoProcessingSystem::DestroyVideoAsset(Set* set, const TString<char>& name) {
    VideoAsset* asset = set ? set->FindVideoAsset(name) : nullptr;
    if (!asset) {
        AGReport(" this video asset name does not exist in the levels file");
        return;
    }
    Release(*asset);
    set->RemoveVideoAsset(asset);
    if (Entities::GameObjectFactory<VideoAsset>* pool = Entities::GameVideoAssetFactory::Instance()->GetDefaultFactory())
        pool->Release(asset);
}

void VideoProcessingSystem::PlayVideo(Set* set, const TString<char>& name) {
    VideoAsset* asset = set ? set->FindVideoAsset(name) : nullptr;
    if (!asset) {
        AGReport(" this video asset name does not exist in the levels file");
        return;
    }
    const VideoData* data = asset->VolatileDatas.GetVideoData();
    AGVideoPlayerImpl* player = Player();
    if (!data || !player) {
        AGReport("PlayVideo: %s has no video data or there is no video player", name.c_str());
        return;
    }
    if (!IsStopped(*player))
        player->Stop();
    const TString<char> path = FileSystem::GetFilePath(FILE_VIDEO, data->m_FileName);
    if (IsStopped(*player))
        s_Loop = asset->m_IsLooped;
    player->SetDisplayMode(asset->m_IsFullScreen ? AGVideoPlayerImpl::kDisplayFullScreen
                                                 : AGVideoPlayerImpl::kDisplayTexture);
    player->Open(path.c_str());
    player->Play(s_Loop);
    asset->m_IsPlaying = true;
}

void VideoProcessingSystem::AddVideoEndHandler(IDelegate* handler) {
    VideoEnded().AddDelegate(handler);
    if (AGVideoPlayerImpl* player = Player())
        player->SetFinishHandler(&s_Fire);
}

void VideoProcessingSystem::RemoveVideoEndHandler(IDelegate* handler) {
    VideoEnded().RemoveDelegate(handler);
    if (AGVideoPlayerImpl* player = Player())
        player->SetFinishHandler(nullptr);
}

void VideoProcessingSystem::PauseAudioAndVideo(bool pause) {
    AGAudioManager* audio = AGAudioManager::Get();
    AGAudioManagerImpl* sounds = audio ? audio->GetImpl() : nullptr;
    AGVideoPlayerImpl* player = Player();
    if (pause) {
        if (sounds)
            sounds->Pause();
        if (player)
            player->Pause();
    } else {
        if (sounds)
            sounds->Resume();
        if (player)
            player->Resume();
    }
}

}  // namespace GameServices::Bridge
