// The starter project: what "vantor-data new-project" writes and what the
// "default" folder holds for start-up to copy when "data" is missing.
#pragma once

#include <string>

#include "media/surface.h"

// The starter system record's transparent colour, on which the placeholder
// images are drawn.
inline constexpr Rgb kDefaultColorKey{255, 0, 255};

// Fills the project with the starter records (everything but the images and
// the files written by WriteDefaultProject).
class Project;
void BuildDefaultProject(Project& project);

// Writes a complete project into the host folder dir (created when missing):
// its folders, the records under "data" and again under "default", the editor
// and test-play settings, a sample stage, the random-name lists, the images and
// the music and sound files. The output depends on nothing but this code. 1 on
// success. Without images the pictures, toolbar images and sounds are left out.
int WriteDefaultProject(const std::string& dir, bool images = true);
