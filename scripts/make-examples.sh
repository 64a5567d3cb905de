#!/usr/bin/env bash
# Regenerates the example data in data/examples/ with the generators in tools/:
# the databases first, then the project, whose loudspeakers come from the
# example loudspeaker database and whose map is computed by the engine.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
out=data/examples
mkdir -p "$out"
if [ -x "$build/tools/make_speaker_database" ]; then
  "$build/tools/make_speaker_database" "$out/speakers.TSB" 2>/dev/null
fi
if [ -x "$build/tools/make_absorber_database" ]; then
  "$build/tools/make_absorber_database" "$out"
fi
"$build/tools/make_example_project" "$out/example.TPR"
rm -f "$out/example_old.TPR"
if command -v espeak-ng >/dev/null; then bash tools/make-speech-sample.sh "$out/speech.wav"; fi
echo "Examples written to $out"
