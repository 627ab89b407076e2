// The view catalogues in ini files: one section per kind ("TOWERVIEWS",
// "SPOTVIEWS", "VCVIEWS"), the same in the settings file and in export files.
// Loading replaces the list of that kind and puts every window back on the
// simulator's view of the kind; saving writes the count and every entry and
// deletes nothing, so keys of entries beyond the count stay in the file.
#pragma once

#include "core/host/host_view_window.h"

void LoadViewCatalogue(ViewKind kind, const char* path);
void SaveViewCatalogue(ViewKind kind, const char* path);
// Whether the file has a catalogue of this kind (its count key).
bool ViewCatalogueInFile(ViewKind kind, const char* path);

// Start-up and shut-down: the three catalogues, tower, spot, VC, from and
// to the settings file.
void LoadViewCatalogues();
void SaveViewCatalogues();
