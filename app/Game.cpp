#include "app/Game.h"

Game* g_game = nullptr;
const RacerKeys kRacer1Keys = {'w', 's', 'a', 'd'};
const RacerKeys kRacer2Keys = {'i', 'k', 'j', 'l'};

Game::Game()
    : _windowWidth(640), _windowHeight(480), _minWindowSize(5), _windowId(-1), _width(0),
      _height(0), _halfHeight(0), _keys{}, _skyboxPath{}, _courseFile{} {
    g_game = this;
}
Game::~Game() = default;
bool Game::Init(const char*) { return false; }
void Game::MainLoop() {}
bool Game::ReadLevel(const char*) { return false; }
bool Game::InitWindow() { return true; }
bool Game::InitMenu() { return true; }
void Game::Idle() {}
void Game::Reshape(int, int) {}
void Game::KeyDown(unsigned char, int, int) {}
void Game::KeyUp(unsigned char, int, int) {}
bool Game::_CaptureImage(const char*) { return false; }
