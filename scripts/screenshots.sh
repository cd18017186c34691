#!/usr/bin/env bash
# Walks through the program as a new student would, under a virtual X server with a window manager, and saves
# a picture of every window it reaches: for an English-interface product (prlspa) and a Spanish-interface one
# (prlale), each at 1024x768 and at 1920x1080.
#
#   scripts/screenshots.sh [OUTPUT]      pictures go to OUTPUT/<product>-<size>/NN-name.png
#                                        (default build/screenshots)
#   PRODUCTS="prlspa" SIZES="1024x768" scripts/screenshots.sh     one product, one size
#   SHOTS_NO_BUILD=1 scripts/screenshots.sh                       take the program folders as they are
#   SHOTS_BUILDS=DIR scripts/screenshots.sh                       build each product in DIR/<code> instead
#
# Controls are found by their texts through the accessibility interface, not by their pixel positions, so the
# walk survives changes of the window layouts. Every run gets a fresh copy of the program folder (which is also
# its data folder: Users.dat and the virtual subjects go there while it is writable) and a fresh HOME, so runs
# repeat and never touch anybody's own students or settings.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
out="$(realpath -m "${1:-build/screenshots}")"
read -r -a products <<<"${PRODUCTS:-prlspa prlale}"
read -r -a sizes <<<"${SIZES:-1024x768 1920x1080}"

# xdotool drives mouse and keyboard, openbox draws real window frames, the AT-SPI pieces find controls by text.
bash scripts/setup.sh xdotool openbox x11-utils dbus-daemon at-spi2-core python3-pyatspi python3-gi

# ---------------------------------------------------------------------------------------------------------
# Building: the default build/ keeps whatever product its developer configured; a product it is not for gets
# a build folder of its own, configured like scripts/build.sh does. SHOTS_BUILDS puts every product's build
# elsewhere, for someone who shares the checkout.

build_dir_for() {
  local code="$1" cached
  if [ -n "${SHOTS_BUILDS:-}" ]; then
    echo "$(realpath -m "$SHOTS_BUILDS")/$code"
    return
  fi
  cached="$(sed -n 's/^PARLANTA_PROGRAM_CODE:STRING=//p' build/CMakeCache.txt 2>/dev/null || true)"
  if [ "$cached" = "$code" ] || { [ -z "$cached" ] && [ "$code" = prlale ]; }; then
    echo build
  else
    echo "build/products/$code"
  fi
}

build_product() {
  local code="$1" dir
  dir="$(build_dir_for "$code")"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    local options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARLANTA_PROGRAM_CODE="$code")
    [ "${CI:-}" = "true" ] && options+=(-DPARLANTA_WERROR=ON)
    cmake -S . -B "$dir" "${options[@]}" >/dev/null
  fi
  # Only what the program folder holds, every game among it: the tests are not needed for pictures.
  local games
  games=$(ninja -C "$dir" -t targets all | grep -o '^game_[a-z]*' | sort -u)
  cmake --build "$dir" --parallel "$(nproc)" --target parlanta $games
}

# ---------------------------------------------------------------------------------------------------------
# Texts: every visible text comes from the template's sources, so the walk follows their wording.

interface_language() { case "$1" in prlspa | prlfre | prlger | prlita) echo English ;; *) echo Spanish ;; esac; }

# caption N: interface text N in the current interface language.
caption() {
  local column=2
  [ "$language" = Spanish ] && column=3
  awk -F'\t' -v n="$1" -v c="$column" '$1 == n { print $c; exit }' content/template/captions.tsv
}

# game_text N [FILE]: the text N of the games (or of one game's FILE) in the current interface language.
game_text() {
  local column=2
  [ "$language" = Spanish ] && column=3
  awk -F'\t' -v n="$1" -v c="$column" '$1 == n { print $c; exit }' "${2:-games/common/texts.tsv}"
}

# The espeak-ng voice that says the product's phrases, from the subject tool's product table.
product_voice() { awk -F'"' -v c="$1" '$2 == c { print $10; exit }' platform/lessons/products.cpp; }

# activity_program NAME: the program whose button and window carry NAME.
activity_program() {
  awk -F'\t' -v n="$1" 'NR > 1 && !/^#/ && ($4 == n || $5 == n) { print $1; exit }' content/activities/activities.tsv
}

activity_names_regex() {
  local column=4
  [ "$language" = Spanish ] && column=5
  awk -F'\t' -v c="$column" '!/^#/ && $1 != "program" { printf "%s%s", sep, $c; sep = "|" }' \
    content/activities/activities.tsv
}

regex_quote() { printf '%s' "$1" | sed 's/[][\.^$*+?(){}|/]/\\&/g'; }

# ---------------------------------------------------------------------------------------------------------
# The accessibility helper: finds a window's controls by role and text and prints where they are on screen.

write_helper() {
  cat >"$1" <<'PY'
import re
import sys
import time

import pyatspi


def text_of(name):
    return (name or '').replace('&', '').strip()


def matches(pattern, name):
    if pattern.startswith('~'):
        return re.search(pattern[1:], text_of(name)) is not None
    return text_of(name) == pattern


def showing(o):
    try:
        return o.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def windows(title):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None:
            continue
        for w in app:
            if w is not None and showing(w) and matches(title, w.name):
                yield w


def descend(o):
    yield o
    for i in range(o.childCount):
        child = o.getChildAtIndex(i)
        if child is not None:
            yield from descend(child)


def extents(o):
    e = o.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def found(title, role, name):
    hits = []
    for w in windows(title):
        for o in descend(w):
            try:
                if o.getRoleName() == role and showing(o) and (name is None or matches(name, o.name)):
                    x, y, width, height = extents(o)
                    if width > 0 and height > 0:
                        hits.append((x, y, width, height, text_of(o.name)))
            except Exception:
                continue
    return hits


def exchange_pairs(path):
    """Text -> numbers of the phrases it belongs to, from the exchange file the game was started with."""
    lines = [l.strip() for l in open(path, encoding='utf-8', errors='replace').read().splitlines()]
    count = int(lines[7])
    owners = {}
    for n in range(count):
        for text in lines[15 + 4 * n:18 + 4 * n]:
            owners.setdefault(text.strip('"').strip(), set()).add(n)
    return owners


def cards(title):
    """(x, y, w, h, text) of every card of the board, in reading order; '?' is a card face down."""
    buttons = [h for h in found(title, 'push button', '') if h[2] < 400]
    labels = found(title, 'label', None)
    board = []
    for (x, y, w, h, _) in buttons:
        inside = [l[4] for l in labels if x <= l[0] and l[0] + l[2] <= x + w and y <= l[1] and l[1] + l[3] <= y + h]
        board.append((x, y, w, h, inside[0] if inside else ''))
    return sorted(board, key=lambda c: (c[1], c[0]))


def click(card):
    import subprocess
    x, y, w, h, _ = card
    subprocess.run(['xdotool', 'mousemove', str(x + w // 2), str(y + h // 2), 'click', '1'], check=False)


def play_pairs(title, exchange, result):
    """Plays a round of Pairs like a player with a perfect memory: every card is turned at most twice."""
    owners = exchange_pairs(exchange)
    seen = {}

    def pair(a, b):
        return bool(owners.get(a, set()) & owners.get(b, set())) and a != b

    def turn(position):
        click(board[position])
        time.sleep(0.4)
        for _ in range(10):
            board_now = cards(title)
            text = board_now[position][4] if position < len(board_now) else '?'
            if text != '?':
                seen[position] = text
                return text
            time.sleep(0.2)
        return '?'

    for _ in range(80):
        if found(title, 'push button', result):
            return True
        board = cards(title)
        down = [i for i, c in enumerate(board) if c[4] == '?']
        if not down:
            time.sleep(0.5)
            continue
        known = [(i, seen[i]) for i in down if i in seen]
        match = next(((a, b) for a, ta in known for b, tb in known if a < b and pair(ta, tb)), None)
        if match:
            turn(match[0])
            turn(match[1])
            time.sleep(0.3)
        else:
            first = next(i for i in down if i not in seen) if any(i not in seen for i in down) else down[0]
            text = turn(first)
            partner = next((i for i, t in known if i != first and pair(text, t)), None)
            if partner is None:
                partner = next((i for i in down if i != first and i not in seen), None)
            if partner is None:
                partner = next(i for i in down if i != first)
            # A mismatch shows for a moment before the cards turn back.
            time.sleep(0.3 if pair(text, turn(partner)) else 1.7)
    return bool(found(title, 'push button', result))


command, args = sys.argv[1], sys.argv[2:]
if command == 'pairs':  # pairs TITLE EXCHANGE_FILE RESULT_BUTTON: plays the round to its end
    sys.exit(0 if play_pairs(args[0], args[1], args[2]) else 1)
deadline = time.time() + float(__import__('os').environ.get('UI_TIMEOUT', '15'))
while True:
    try:
        if command == 'find':  # find TITLE ROLE NAME [INDEX]: x y w h of the INDEX-th match
            hits = found(args[0], args[1], args[2])
            index = int(args[3]) if len(args) > 3 else 0
            if len(hits) > index:
                print(*hits[index][:4])
                sys.exit(0)
        elif command == 'list':  # list TITLE ROLE: x y w h text of every match, in reading order
            hits = found(args[0], args[1], None)
            if hits:
                for h in sorted(hits, key=lambda h: (h[1], h[0])):
                    print(*h)
                sys.exit(0)
        elif command == 'dump':  # dump TITLE: the whole tree, for finding out what a window offers
            for w in windows(args[0]):
                for o in descend(w):
                    try:
                        print(o.getRoleName(), repr(o.name), extents(o), 'showing' if showing(o) else '')
                    except Exception:
                        pass
            sys.exit(0)
    except SystemExit:
        raise
    except Exception:
        pass  # a window that closes while it is read: look again
    if time.time() > deadline:
        sys.exit(1)
    time.sleep(0.3)
PY
}

# ---------------------------------------------------------------------------------------------------------
# One run: one product at one screen size.

ui() { /usr/bin/python3 "$helper" "$@"; }

# window_id TITLE_REGEX [SECONDS]: the newest visible window whose title matches.
window_id() {
  timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | tail -1
}

activate() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null || true; }

press() { xdotool key --clearmodifiers "$@"; sleep 0.4; }

# click_on TITLE ROLE NAME [BUTTON]: clicks the middle of the control.
click_on() {
  local x y w h
  read -r x y w h < <(ui find "$1" "$2" "$3") || { echo "  not found: $2 '$3' in '$1'" >&2; return 1; }
  xdotool mousemove "$((x + w / 2))" "$((y + h / 2))" sleep 0.2 click "${4:-1}"
  sleep 0.6
}

shot() {
  local file
  file="$shots/$(printf '%02d' "$count")-$1.png"
  count=$((count + 1))
  sleep "${2:-0.8}"
  import -window root "$file"
  saved+=("$file")
}

# Ends every process this run started from its own program folder (the program and the activities it ran).
end_program_processes() {
  local pid exe
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    exe="$(readlink "/proc/$pid/exe" 2>/dev/null || true)"
    case "$exe" in "${run:-/nonexistent}/program/"*) kill "$pid" 2>/dev/null || true ;; esac
  done
}

cleanup_run() {
  end_program_processes
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
  started=()
}

start_desktop() {
  local size="$1" display=90 server
  while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp >"$run/xvfb.log" 2>&1 &
  server=$!
  started+=($server)
  export DISPLAY=":$display"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  # Another walk or test may have taken the display in the meantime: this run's server then gave up, and the one
  # answering is not ours to drive (it goes when its owner is done).
  kill -0 "$server" 2>/dev/null || { echo "The virtual X server :$display was taken (see $run/xvfb.log)." >&2; return 1; }
  xdpyinfo >/dev/null 2>&1 || { echo "The virtual X server did not start (see $run/xvfb.log)." >&2; return 1; }
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$run/bus" >/dev/null 2>&1 &
  started+=($!)
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$run/bus"
  for _ in $(seq 50); do [ -S "$run/bus" ] && break; sleep 0.1; done
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  started+=($!)
  openbox >/dev/null 2>&1 &
  started+=($!)
  sleep 1
}

# The program's own data and settings: a copy of the program folder and a home of this run alone.
fresh_program() {
  local stage="$1"
  mkdir -p "$run/home/.config" "$run/home/.local/share" "$run/tmp" "$run/runtime"
  chmod 700 "$run/runtime"
  cp -a "$stage" "$run/program"
  export HOME="$run/home" XDG_CONFIG_HOME="$run/home/.config" XDG_DATA_HOME="$run/home/.local/share"
  export TMPDIR="$run/tmp" XDG_RUNTIME_DIR="$run/runtime"
  export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
  # Speak hears this file in place of a microphone (the games' test hook). Like a microphone it must be there
  # when the game starts; the walk says the phrase into it once the game shows which one.
  export PARLANTA_SPEAK_CAPTURE="$run/learner.wav"
  espeak-ng -w "$PARLANTA_SPEAK_CAPTURE" " "
}

# play_round PROGRAM WINDOW_ID: answers every question of a round by keyboard until the result screen shows.
play_round() {
  local program="$1" wid="$2" again
  again="$(game_text PlayAgain)"
  for _ in $(seq 40); do
    ui_quick find "$game_title" "push button" "~^$(regex_quote "$again")" >/dev/null && return 0
    activate "$wid"
    case "$program" in
      Flashcards) press space; press 1 ;;
      ListenAndChoose) press 1; press 2; press 3; press 4; press Return ;;
      Dictation) xdotool type --delay 30 "hallo"; press Return; press Return ;;
      Speak) press Return ;;
    esac
  done
  ui_quick find "$game_title" "push button" "~^$(regex_quote "$again")" >/dev/null
}

ui_quick() { UI_TIMEOUT=1 ui "$@"; }

# speak_try WINDOW_ID: a learner says the first phrase in another voice than its sound's and gets its last word
# wrong (the longest word of the second phrase in its place), so the try shows a score, the two melodies and a word
# marked to practise; the same phrase in another voice alone is mostly well said, which marks no word.
speak_try() {
  local wid="$1" said shown
  said="$(/usr/bin/python3 -c '
import re, sys
lines = open(sys.argv[1], encoding="utf-8", errors="replace").read().splitlines()
phrase = lines[15].strip().strip(chr(34))
other = re.findall(r"\w+", lines[19]) if len(lines) > 19 else []
print(re.sub(r"\w+(?=\W*$)", max(other, key=len), phrase, count=1) if other else phrase)
' "$(game_exchange_file)")"
  espeak-ng -v "$(product_voice "$code")+f4" -s 155 -w "$PARLANTA_SPEAK_CAPTURE" "$said"
  shown="$(regex_quote "$(game_text TryOf games/speak/texts.tsv)")"
  shown="${shown/\%1/[0-9]}"
  shown="${shown/\%2/[0-9]}"
  # A key pressed while the window is still settling can be lost: press again until the try shows.
  for _ in 1 2 3; do
    activate "$wid"
    press space
    UI_TIMEOUT=4 ui find "$game_title" label "~^$shown:" >/dev/null && return 0
  done
  return 1
}

# The exchange file of the newest launch: the game is started with its bare name, in the private temporary folder.
game_exchange_file() {
  ls -t "$TMPDIR"/parlanta-*/~prl*.txt 2>/dev/null | head -1
}

shoot() {
  local code="$1" size="$2" stage dir product
  language="$(interface_language "$code")"
  dir="$(build_dir_for "$code")"
  stage="$(cd "$root" && realpath -m "$dir/stage")"
  shots="$out/$code-$size"
  rm -rf "$shots"
  mkdir -p "$shots"
  count=1
  run="$(mktemp -d /tmp/parlanta-shots.XXXXXX)"
  helper="$run/ui.py"
  write_helper "$helper"
  started=()
  trap cleanup_run EXIT
  start_desktop "$size"
  fresh_program "$stage"
  echo "== $code at $size"

  local student_first=Ana student_last=Ortega student
  student="$student_first $student_last"
  local login_title main_title
  login_title="$(caption 29) "
  (cd "$run/program" && exec ./parlanta >"$run/program.log" 2>&1) &
  started+=($!)

  # Login window of a fresh data folder: nobody to pick yet.
  local wid
  wid="$(window_id "^$(regex_quote "$login_title")" 60)"
  if [ -z "$wid" ]; then
    echo "The program did not show its login window; its output:" >&2
    cat "$run/program.log" >&2
    return 1
  fi
  product="$(xdotool getwindowname "$wid")"
  product="${product#"$login_title"}"
  activate "$wid"
  shot login-empty 1.5

  # New student: the first one becomes the administrator.
  click_on "$login_title$product" "push button" "$(caption 27)"
  wid="$(window_id "^$(regex_quote "$(caption 30)")$")"
  activate "$wid"
  xdotool type --delay 40 "$student_first"
  press Tab
  xdotool type --delay 40 "$student_last"
  shot new-student
  press Return
  # The message window tells the first student that he or she is the administrator.
  wid="$(window_id "^$(regex_quote "$product")$" 10)" || true
  if [ -n "$wid" ]; then
    activate "$wid"
    shot message-first-student
    press Return
  fi
  shot login

  # The same student, changed.
  click_on "$login_title$product" "push button" "$(caption 44)" || true
  wid="$(window_id "^$(regex_quote "$(caption 45)")$" 10)" || true
  if [ -n "$wid" ]; then
    activate "$wid"
    shot edit-student
    press Escape
  fi

  # Log in: the only student has no password, so Enter does it.
  wid="$(window_id "^$(regex_quote "$login_title$product")$" 10)"
  activate "$wid"
  click_on "$login_title$product" "push button" "$(caption 28)"
  main_title="$product  [$student]"
  wid="$(window_id "^$(regex_quote "$main_title")$" 20)"
  [ -n "$wid" ] || { echo "The main window did not open." >&2; return 1; }
  activate "$wid"
  shot main 0.5

  # The message line rolls shut and opens again with the next text.
  ui find "$main_title" label "$(caption 63)" >/dev/null || true
  shot main-message-line 2.2

  # The activity buttons: a screen reader hears each by the name written on it.
  local buttons ax ay aw ah rest
  buttons="$(ui list "$main_title" "push button" | awk -v names="^($(activity_names_regex))$" '
      { at = $1 " " $2 " " $3 " " $4; $1 = $2 = $3 = $4 = ""; sub(/^ +/, "") }
      $0 ~ names { print at }')"
  # The menu panel slides in when the mouse touches the window's left edge.
  local wx wy wh
  eval "$(xdotool getwindowgeometry --shell "$wid" | sed -n 's/^X=/wx=/p; s/^Y=/wy=/p; s/^HEIGHT=/wh=/p')"
  xdotool mousemove "$((wx + 2))" "$((wy + wh / 2))"
  sleep 0.3
  xdotool mousemove "$((wx + 3))" "$((wy + wh / 2 + 5))"
  shot main-menu-panel 1.2
  # The activity buttons start hiding it again.
  if [ -n "$buttons" ]; then
    read -r ax ay aw ah rest <<<"$buttons"
    xdotool mousemove "$((ax + aw / 2))" "$((ay + ah / 2))" sleep 0.3 mousemove_relative 3 3
    sleep 1.5
  fi

  # Custom subject editor.
  if click_on "$main_title" "push button" "$(caption 65)"; then
    local editor="$product - $(caption 65)"
    wid="$(window_id "^$(regex_quote "$editor")$" 20)" || true
    if [ -n "$wid" ]; then
      activate "$wid"
      shot custom-subject-editor 1
      click_on "$editor" "push button" "$(caption 128)" || press alt+F4
    fi
    wid="$(window_id "^$(regex_quote "$main_title")$" 20)"
    activate "$wid"
  fi

  # Phrase text editor: open the installed subjects, list a subject's phrases, right-click the first one.
  local tx ty tw th subject=""
  click_on "$main_title" "table cell" "$(caption 2)" || true
  subject="$(ui list "$main_title" "table cell" | awk -v skip="$(caption 2)" '
      { name = $5; for (i = 6; i <= NF; i++) name = name " " $i }
      name == skip { seen = 1; next }
      seen && name != "" { print name; exit }')"
  if [ -n "$subject" ] && read -r tx ty tw th < <(ui find "$main_title" "table cell" "$subject"); then
    xdotool mousemove "$((tx + tw / 2))" "$((ty + th / 2))" click 1
    sleep 1
    # The phrases are listed under their subject, one indentation further right, once it is open: its
    # expander sits in that indentation, left of its text.
    if ! ui list "$main_title" "table cell" | awk -v x="$tx" -v y="$ty" -v h="$th" \
        '$2 > y && $2 <= y + h + 2 && $1 > x { found = 1 } END { exit !found }'; then
      local rx rest
      read -r rx rest < <(ui find "$main_title" "table cell" "$(caption 2)") || rx=$((tx - 20))
      xdotool mousemove "$(((rx + tx) / 2))" "$((ty + th / 2))" click 1
      sleep 0.8
      read -r tx ty tw th < <(ui find "$main_title" "table cell" "$subject") || true
    fi
    # The pop-up menu holds "listen" and then "edit".
    xdotool mousemove "$((tx + tw / 2))" "$((ty + th + th / 2))" click 3
    sleep 0.8
    press Down
    press Down
    press Return
    wid="$(window_id "^$(regex_quote "$(caption 111)")$" 10)" || true
    if [ -n "$wid" ]; then
      activate "$wid"
      shot phrase-editor
      press Escape
    else
      echo "  the phrase editor did not open" >&2
      press Escape
    fi
    # The subject stays selected for the activities.
    xdotool mousemove "$((tx + tw / 2))" "$((ty + th / 2))" click 1
    sleep 0.8
  fi

  local names i=0 program title
  names="$(activity_names_regex)"
  while read -r ax ay aw ah rest; do
    [ -n "$ax" ] || continue
    i=$((i + 1))
    activate "$(window_id "^$(regex_quote "$main_title")$" 5)"
    xdotool mousemove "$((ax + aw / 2))" "$((ay + ah / 2))" sleep 0.3 click 1
    wid="$(window_id "^($names) – " 20)" || true
    if [ -z "$wid" ]; then
      echo "  activity button $i opened no game window" >&2
      continue
    fi
    title="$(xdotool getwindowname "$wid")"
    program="$(activity_program "${title%% – *}")"
    game_title="$title"
    sleep 1
    # A game says so in a message box when this computer cannot play its sounds.
    local note
    note="$(window_id "^$(regex_quote "${title%% – *}")$" 2)" || true
    if [ -n "$note" ]; then
      activate "$note"
      shot "game-${program,,}-message" 0.5
      press Return
    fi
    activate "$wid"
    shot "game-${program,,}" 0.8
    if [ "$program" = Speak ]; then
      if speak_try "$wid"; then
        shot game-speak-try 0.5
      else
        echo "  Speak: no try was shown" >&2
      fi
    fi
    if [ "$program" = Pairs ]; then
      timeout 300 /usr/bin/python3 "$helper" pairs "$title" "$(game_exchange_file)" "~^$(regex_quote "$(game_text PlayAgain)")" || true
    else
      play_round "$program" "$wid" || true
    fi
    if ui_quick find "$game_title" "push button" "~^$(regex_quote "$(game_text PlayAgain)")" >/dev/null; then
      shot "game-${program,,}-result" 1
    else
      echo "  $program: the result screen was not reached" >&2
    fi
    activate "$wid"
    press Escape
    press Escape
    sleep 0.5
  done <<<"$buttons"
  [ "$i" -gt 0 ] || echo "  no activity buttons found" >&2

  # The student's own progress after the games: a point per game played, the latest results beside.
  wid="$(window_id "^$(regex_quote "$main_title")$" 10)"
  activate "$wid"
  if click_on "$main_title" "push button" "$(caption 162)"; then
    wid="$(window_id "^$(regex_quote "$(caption 162)") – " 10)" || true
    if [ -n "$wid" ]; then
      activate "$wid"
      shot my-progress 0.5
      press Escape
    fi
  fi

  # Tracked scores (administrator), now that the games have stored results: the student view.
  wid="$(window_id "^$(regex_quote "$main_title")$" 10)"
  activate "$wid"
  if click_on "$main_title" "push button" "$(caption 54)"; then
    wid="$(window_id "^$(regex_quote "$(caption 54)")$" 10)" || true
    if [ -n "$wid" ]; then
      activate "$wid"
      shot tracked-scores-empty
      if click_on "$(caption 54)" "combo box" "~.*"; then
        click_on "$(caption 54)" "list item" "$(caption 50)" || { press Down; press Return; }
        click_on "$(caption 54)" "table cell" "$student" || true
        # The first activity under the student lists that student's results of it.
        local cx cy cw ch
        if read -r cx cy cw ch < <(ui list "$(caption 54)" "table cell" | awk -v s="$student" '
            { name = $5; for (i = 6; i <= NF; i++) name = name " " $i }
            name == s { seen = 1; next }
            seen && name != "" { print $1, $2, $3, $4; exit }'); then
          xdotool mousemove "$((cx + cw / 2))" "$((cy + ch / 2))" click 1
        fi
      fi
      shot tracked-scores
      # The same choice drawn as a chart, on the tab beside the list.
      if click_on "$(caption 54)" "page tab" "$(caption 155)"; then
        shot tracked-scores-chart 0.5
      fi
      # What can be exported: the list shown, every result, the chart.
      if click_on "$(caption 54)" "push button" "$(caption 150)"; then
        shot tracked-scores-export 0.5
        press Escape
      fi
      # Another program's lessons: the import window previewing an Anki package of another writer.
      if click_on "$(caption 54)" "push button" "$(caption 240)"; then
        import_title="$(caption 240)"
        import_title="${import_title%...}"
        if iw="$(window_id "^$(regex_quote "$import_title")$" 10)"; then
          activate "$iw"
          if click_on "$import_title" "push button" "$(caption 242)"; then
            sleep 1
            xdotool type --delay 10 "$PWD/tests/lessons/fixtures/anki-export-older.apkg"
            press Return
            sleep 2
            activate "$iw"
            shot import-lessons 0.5
          fi
          press Escape
        fi
      fi
      press Escape
    fi
  fi

  cleanup_run
  trap - EXIT
  rm -rf "$run"
}

status=0
if [ "${SHOTS_NO_BUILD:-}" != 1 ]; then
  for code in "${products[@]}"; do
    build_product "$code"
  done
fi
mkdir -p "$out"
all=()
for code in "${products[@]}"; do
  for size in "${sizes[@]}"; do
    saved=()
    if ! (shoot "$code" "$size"); then
      echo "$code at $size: the program could not be walked through." >&2
      status=1
    fi
  done
done
echo "Screenshots:"
find "$out" -name '*.png' -newer "$0" 2>/dev/null | sort || true
exit "$status"
