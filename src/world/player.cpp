#include "world/player.h"

#include "platform/keyboard.h"

Player::Player() : Obj("gfx/player.bmp", 292, 440) {}

void Player::update() { move(Keyboard::dir(), 1); }
