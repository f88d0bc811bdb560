#pragma once
// The generators of the sample content, one per topic. Each reads its own sources.
#include "tools/content/ContentBuild.h"

namespace content {

// "RuntimeParameters.xml", "Actions.xml", "Popups.xml" and the popup layouts (gsSystem), and
// "GameShowPopUps.xml" (MenuXmls).
void GenerateSystem(Output& out);
// The string table "gstrc_english.loc" (gstrcsystem).
void GenerateStrings(Output& out);
// "Levels.xml", the level files and the stage, score and camera behaviours (GlobalXml).
void GenerateStageXml(Output& out);
// The match's show sequences (ingamexml).
void GenerateSequences(Output& out);
// Stage models, materials, flip-books, model animations, cameras and lights (Global3D).
void GenerateStage3D(Output& out);
// Assemblies, wardrobes, anatomies, looks, "Behaviors.xml", "GameShowBehaviors.xml", "Awards.xml".
void GenerateCharacterXml(Output& out);
// Character part models, skeletons and skin animations (gameshowavatar3d).
void GenerateCharacter3D(Output& out);
// Wardrobe thumbnails and other character pictures (general_globalgameassets).
void GenerateCharacterArt(Output& out);
// Screen layouts, "Sketch.Flow" (MenuXmls).
void GenerateMenuXml(Output& out);
// Fonts, widget animations, interface art and pictures (Global2D and the two asset packages).
void GenerateInterfaceArt(Output& out);
// Sound descriptors, their Ogg data and the streamed sound files.
void GenerateSounds(Output& out);
// The intro clips under video/.
void GenerateVideos(Output& out);

}  // namespace content
