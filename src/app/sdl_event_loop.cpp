#include "app/sdl_event_loop.h"

namespace mdx::app {
namespace {

WindowEventKind classifyWindowEvent(const SDL_WindowEvent& window) {
  switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      return WindowEventKind::Activated;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      return WindowEventKind::Deactivated;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
      return WindowEventKind::Minimised;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      return WindowEventKind::SizeChanged;
    case SDL_WINDOWEVENT_CLOSE:
      return WindowEventKind::CloseRequested;
    default:
      return WindowEventKind::None;
  }
}

}  // namespace

WindowEventKind classifyEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      return WindowEventKind::Quit;
    case SDL_WINDOWEVENT:
      return classifyWindowEvent(event.window);
    case SDL_KEYUP:
      return event.key.keysym.sym == SDLK_ESCAPE ? WindowEventKind::EscapeReleased
                                                 : WindowEventKind::None;
    case SDL_KEYDOWN: {
      const SDL_Keycode key = event.key.keysym.sym;
      const bool enter = key == SDLK_RETURN || key == SDLK_KP_ENTER;
      if (enter && (event.key.keysym.mod & KMOD_ALT) && !event.key.repeat) {
        return WindowEventKind::ToggleFullScreen;
      }
      return WindowEventKind::None;
    }
    default:
      return WindowEventKind::None;
  }
}

namespace {

// The window an event belongs to, or 0 for events of no window (quit).
uint32_t eventWindow(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT) return event.window.windowID;
  if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) return event.key.windowID;
  return 0;
}

}  // namespace

void EventLoop::handle(const SDL_Event& event) {
  if (event.type == SDL_DROPFILE) {
    // The path is the loop's to free, whether anyone takes it or not.
    const std::string path = event.drop.file != nullptr ? event.drop.file : "";
    SDL_free(event.drop.file);
    if (!path.empty() && onFileDropped) onFileDropped(path);
    return;
  }
  const uint32_t window = eventWindow(event);
  if (gameWindowId != 0 && window != 0 && window != gameWindowId) return;
  if (event.type == SDL_WINDOWEVENT && onWindowEvent) onWindowEvent();
  const WindowEventKind kind = classifyEvent(event);
  switch (kind) {
    case WindowEventKind::Activated:
      game_.windowActive = 1;
      break;
    case WindowEventKind::Deactivated:
      game_.windowActive = 0;
      break;
    case WindowEventKind::Minimised:
    case WindowEventKind::SizeChanged:
      // No picture of its own: the frame that follows the waiting events repaints the window
      // in full (onWindowEvent), so a window dragged to a new size costs no paced pictures
      // beyond the frames themselves. A minimised window shows nothing to repaint.
      game_.windowActive = kind == WindowEventKind::SizeChanged ? 1 : 0;
      break;
    case WindowEventKind::EscapeReleased:
      // Key events reach the game only while its window is active.
      if (game_.windowActive) {
        announce(ReplayEvent::Escape);
        game_.escapeReleased();
      }
      break;
    case WindowEventKind::ToggleFullScreen:
      if (game_.windowActive && switchFullScreen) {
        const bool toFullScreen = game_.state.options.windowed != 0;
        if (switchFullScreen(toFullScreen)) {
          announce(toFullScreen ? ReplayEvent::ToFullScreen : ReplayEvent::ToWindow);
          game_.state.options.windowed = toFullScreen ? 0 : 1;
        }
      }
      break;
    case WindowEventKind::CloseRequested:
      window_.destroyWindow();
      break;
    case WindowEventKind::Quit:
      quit = true;
      break;
    case WindowEventKind::None:
      break;
  }
}

void EventLoop::run() {
  while (!quit) {
    if (game_.windowActive) {
      runOnce();
      continue;
    }
    // Nothing runs while the window is inactive: sleep until something happens.
    SDL_Event event;
    if (!events_.wait(event)) {
      quit = true;  // the event system broke down; end rather than spin
      break;
    }
    handle(event);
  }
}

void EventLoop::runOnce() {
  SDL_Event event;
  for (int taken = 0; !quit && taken < kMaxEventsPerFrame && events_.poll(event); ++taken) {
    handle(event);
  }
  if (quit || !game_.windowActive) return;
  if (beforeFrame) beforeFrame();
  announce(ReplayEvent::Frame);
  game_.runFrame();
  ++framesRun;
}

void EventLoop::announce(ReplayEvent event) {
  if (beforeGameCall) beforeGameCall(event);
}

}  // namespace mdx::app
