// The one list of the game state's fields: every field of the plain state structs, by name, in
// declaration order. The replay digest, the replay references, the simulator's output and the
// solver's state key all go through it. A field added to a struct and not listed here fails
// the build: each struct's size must equal the size its listed fields take, with padding.
#pragma once

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <type_traits>

#include "world/game_state.h"

namespace mdx::world {

// One listed field: its name and where it is in the struct.
template <typename Struct, typename Value>
struct Field {
  using Type = Value;
  const char* name;
  Value Struct::*member;
};

template <typename Struct, typename Value>
constexpr Field<Struct, Value> field(const char* name, Value Struct::*member) {
  return {name, member};
}

// StateFields<S>::list: the fields of S, in declaration order.
template <typename Struct>
struct StateFields;

template <>
struct StateFields<Options> {
  static constexpr auto list = std::make_tuple(
      field("windowed", &Options::windowed), field("blocks3D", &Options::blocks3D),
      field("soundEnabled", &Options::soundEnabled), field("adapterIndex", &Options::adapterIndex),
      field("packIndex", &Options::packIndex), field("packName", &Options::packName));
};

template <>
struct StateFields<Progress> {
  static constexpr auto list = std::make_tuple(field("gameState", &Progress::gameState),
                                               field("levelNumber", &Progress::levelNumber),
                                               field("levelCount", &Progress::levelCount));
};

template <>
struct StateFields<World> {
  static constexpr auto list = std::make_tuple(
      field("blockLayer", &World::blockLayer), field("deviceLayer", &World::deviceLayer),
      field("pieceCount", &World::pieceCount), field("pieceTypes", &World::pieceTypes),
      field("landscapeChoice", &World::landscapeChoice), field("parallax1On", &World::parallax1On),
      field("parallax2Mode", &World::parallax2Mode), field("levelMusic", &World::levelMusic),
      field("landscapeMotion", &World::landscapeMotion), field("robotColumn", &World::robotColumn),
      field("robotRow", &World::robotRow), field("robotFalling", &World::robotFalling),
      field("robotClimbing", &World::robotClimbing), field("robotFrame", &World::robotFrame),
      field("liftCounter", &World::liftCounter), field("liftReturnTimer", &World::liftReturnTimer),
      field("gateState", &World::gateState), field("levelComplete", &World::levelComplete),
      field("robotExploded", &World::robotExploded),
      field("explosionTicks", &World::explosionTicks),
      field("robotExplosionX", &World::robotExplosionX),
      field("robotExplosionY", &World::robotExplosionY), field("lightX", &World::lightX),
      field("lightY", &World::lightY));
};

template <>
struct StateFields<Pieces> {
  static constexpr auto list = std::make_tuple(
      field("pieceIndex", &Pieces::pieceIndex), field("pieceColumn", &Pieces::pieceColumn),
      field("pieceRow", &Pieces::pieceRow), field("pieceShape", &Pieces::pieceShape),
      field("pieceShapeInBlocks", &Pieces::pieceShapeInBlocks),
      field("pieceCommand", &Pieces::pieceCommand),
      field("pieceMoveAllowed", &Pieces::pieceMoveAllowed));
};

template <>
struct StateFields<Scene> {
  static constexpr auto list = std::make_tuple(
      field("fadeLevel", &Scene::fadeLevel), field("lightLevel1", &Scene::lightLevel1),
      field("lightLevel2", &Scene::lightLevel2), field("lightFalling1", &Scene::lightFalling1),
      field("lightFalling2", &Scene::lightFalling2), field("robotScale", &Scene::robotScale),
      field("robotPivotX", &Scene::robotPivotX), field("robotPivotY", &Scene::robotPivotY),
      field("waveClock", &Scene::waveClock), field("landscapeAngle", &Scene::landscapeAngle),
      field("landscapeClock", &Scene::landscapeClock), field("spinAngle", &Scene::spinAngle),
      field("gateTurn", &Scene::gateTurn), field("gateAngle", &Scene::gateAngle),
      field("parallax1X", &Scene::parallax1X), field("parallax2X", &Scene::parallax2X),
      field("blinkPhase", &Scene::blinkPhase), field("altFramePhase", &Scene::altFramePhase),
      field("titleFramePhase", &Scene::titleFramePhase), field("bannerScale", &Scene::bannerScale),
      field("bannerX", &Scene::bannerX), field("hudPhase", &Scene::hudPhase),
      field("hudSlide", &Scene::hudSlide), field("explosionAngle", &Scene::explosionAngle),
      field("stuckHint", &Scene::stuckHint), field("notices", &Scene::notices));
};

template <>
struct StateFields<Keys> {
  static constexpr auto list = std::make_tuple(
      field("keyLatch", &Keys::keyLatch), field("titleChoice", &Keys::titleChoice),
      field("quitPrompt", &Keys::quitPrompt), field("peeking", &Keys::peeking),
      field("titleLevel", &Keys::titleLevel), field("titleLevelLimit", &Keys::titleLevelLimit),
      field("howToPage", &Keys::howToPage));
};

namespace detail {

constexpr std::size_t roundUp(std::size_t offset, std::size_t alignment) {
  return (offset + alignment - 1) / alignment * alignment;
}

// The size a struct holding exactly the listed fields, in list order, would have.
template <typename Struct>
constexpr std::size_t listedSize() {
  return std::apply(
      [](const auto&... fields) {
        std::size_t offset = 0;
        std::size_t alignment = 1;
        ((offset = roundUp(offset, alignof(typename std::decay_t<decltype(fields)>::Type)) +
                   sizeof(typename std::decay_t<decltype(fields)>::Type),
          alignment = std::max(alignment, alignof(typename std::decay_t<decltype(fields)>::Type))),
         ...);
        return roundUp(offset, alignment);
      },
      StateFields<Struct>::list);
}

}  // namespace detail

static_assert(detail::listedSize<Options>() == sizeof(Options), "Options: list every field");
static_assert(detail::listedSize<Progress>() == sizeof(Progress), "Progress: list every field");
static_assert(detail::listedSize<World>() == sizeof(World), "World: list every field");
static_assert(detail::listedSize<Pieces>() == sizeof(Pieces), "Pieces: list every field");
static_assert(detail::listedSize<Scene>() == sizeof(Scene), "Scene: list every field");
static_assert(detail::listedSize<Keys>() == sizeof(Keys), "Keys: list every field");

// Calls visit(name, field) for every listed field of part (Options, World, ... or a const one).
template <typename Part, typename Visit>
void visitFields(Part& part, Visit&& visit) {
  std::apply([&](const auto&... fields) { (visit(fields.name, part.*(fields.member)), ...); },
             StateFields<std::remove_const_t<Part>>::list);
}

// Calls visit(name, field) for every field of the game state: options, progress, world,
// pieces, scene, keys. The service pointers are not state.
template <typename State, typename Visit>
void visitState(State& state, Visit&& visit) {
  visitFields(state.options, visit);
  visitFields(state.progress, visit);
  visitFields(state.world, visit);
  visitFields(state.pieces, visit);
  visitFields(state.scene, visit);
  visitFields(state.keys, visit);
}

}  // namespace mdx::world
