#include "app/Game.h"

void Game::Display() {}
void Game::Update() {}
