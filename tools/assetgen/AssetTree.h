#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

#include "Scene.h"

// Everything the program folder holds, by relative path, and the writing of the whole tree.
namespace assets {

struct MovieAsset {
    QString path;  // relative, with slashes: "Movie/Opyt1/4_2.swf"
    std::function<Scene()> make;
};

struct FileAsset {
    QString path;
    std::function<QByteArray()> bytes;
};

std::vector<MovieAsset> movieAssets();
std::vector<FileAsset> pictureAssets();
// Every file of the tree: pictures, movies, Dannie.txt and the empty results file.
std::vector<FileAsset> allAssets();

// Writes the tree under dir, replacing files whose bytes differ. False and a reason on failure.
bool writeAssetTree(const QString& dir, QString* error = nullptr);

// The movies of each experiment (defined beside their drawings).
void addIntroMovies(std::vector<MovieAsset>& out);
void addConcentrationMovies(std::vector<MovieAsset>& out);
void addTemperatureMovies(std::vector<MovieAsset>& out);
void addCatalystMovies(std::vector<MovieAsset>& out);
void addEquilibriumMovies(std::vector<MovieAsset>& out);

}  // namespace assets
