#!/usr/bin/env bash
# Writes the dry speech recording of the examples: 16-bit mono PCM at
# 22050 Hz, a few seconds of synthetic speech without room sound, made with
# espeak-ng (Debian package espeak-ng; needed only to regenerate the file).
set -euo pipefail
out=${1:-data/examples/speech.wav}
if ! command -v espeak-ng >/dev/null; then
  echo "make-speech-sample: espeak-ng is not installed (apt-get install espeak-ng)" >&2
  exit 1
fi
text="Welcome to the hall. Listen how the room answers every word."
tmp=$(mktemp "${out}.XXXXXX")
trap 'rm -f "$tmp"' EXIT
# espeak-ng writes RIFF WAVE, PCM, one channel, 16 bits at 22050 Hz.
espeak-ng -v en-gb -s 150 -p 45 -w "$tmp" "$text"
# Check the format fields: tag 1, one channel, 22050 Hz, 16 bits.
fmt=$(od -An -tx1 -j20 -N16 "$tmp" | tr -d ' \n')
if [ "$fmt" != "010001002256000044ac000002001000" ]; then
  echo "make-speech-sample: unexpected format $fmt" >&2
  exit 1
fi
chmod 644 "$tmp"
mv "$tmp" "$out"
trap - EXIT
echo "Speech sample written to $out"
