#!/usr/bin/env bash
# Regenerates the example data in data/examples/ with the generators in tools/.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
out=data/examples
mkdir -p "$out"
"$build/tools/make_example_project" "$out/example.TPR"
rm -f "$out/example_old.TPR"
for gen in make_speaker_database make_absorber_database; do
  if [ -x "$build/tools/$gen" ]; then "$build/tools/$gen" "$out"; fi
done
if command -v espeak-ng >/dev/null; then bash tools/make-speech-sample.sh "$out/speech.wav"; fi
echo "Examples written to $out"
