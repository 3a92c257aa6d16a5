#!/usr/bin/env bash
# Synthesizes the four alert tones with sox: 16-bit PCM, mono, 44.1 kHz.
# Every note gets a short fade-in and a fade-out to silence, so nothing clicks.
# -R keeps sox's pseudo-random parts repeatable and -D leaves out dither, so the
# same sox gives byte-identical files on every run.
set -euo pipefail

out=${1:?usage: make_sounds.sh OUTPUT_DIR}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rate=44100
sx() { sox -R -D -V1 "$@"; }

# note FILE SECONDS FREQ WAVE FADE_OUT_SECONDS [GAIN_DB]: one enveloped tone.
note() {
  local file=$1 len=$2 freq=$3 wave=$4 fadeout=$5 gain=${6:-0}
  sx -n -r $rate -c 1 -b 16 "$work/$file" synth "$len" "$wave" "$freq" \
     fade q 0.008 "$len" "$fadeout" gain "$gain"
}

# partial FILE SECONDS FREQ GAIN_DB: a decaying sine, used to build bell timbres.
partial() {
  local file=$1 len=$2 freq=$3 gain=$4
  sx -n -r $rate -c 1 -b 16 "$work/$file" synth "$len" sine "$freq" \
     fade t 0.006 "$len" "$len" gain "$gain"
}

silence() { sx -n -r $rate -c 1 -b 16 "$work/$1" trim 0 "$2"; }

finish() {  # finish NAME INPUT...: join, edge fades, normalise to -1 dBFS, write NAME.wav
  local name=$1
  shift
  sx "$@" "$work/joined-$name.wav"
  local len
  len=$(soxi -D "$work/joined-$name.wav")
  # Filters can leave a few samples off zero at the edges; the short final fades
  # bring both ends back to silence.
  sx "$work/joined-$name.wav" -r $rate -c 1 -b 16 -e signed-integer "$out/$name.wav" \
     fade h 0.003 "$len" 0.01 gain -n -1
  echo "wrote $out/$name.wav ($(soxi -D "$out/$name.wav") s)"
}

# start: rising two-note chime, C6 then G6, each with a soft octave partial.
partial s1a.wav 0.28 1046.50 -3
partial s1b.wav 0.28 2093.00 -15
sx -m "$work/s1a.wav" "$work/s1b.wav" "$work/s1.wav"
partial s2a.wav 0.42 1567.98 -3
partial s2b.wav 0.42 3135.96 -15
sx -m "$work/s2a.wav" "$work/s2b.wav" "$work/s2.wav"
finish start "$work/s1.wav" "$work/s2.wav"

# middle: double beep at 1.2 kHz, softened square wave.
note m1.wav 0.12 1200 square 0.02 -10
sx "$work/m1.wav" "$work/m1s.wav" lowpass 3000 lowpass 3000
silence gap.wav 0.09
finish middle "$work/m1s.wav" "$work/gap.wav" "$work/m1s.wav"

# end: longer descending three-note alarm, E6 - C6 - A5, triangle wave.
note e1.wav 0.30 1318.51 triangle 0.05
note e2.wav 0.30 1046.50 triangle 0.05
note e3.wav 0.50 880.00 triangle 0.25
silence egap.wav 0.05
finish end "$work/e1.wav" "$work/egap.wav" "$work/e2.wav" "$work/egap.wav" "$work/e3.wav"

# ding: bell-like strike, a decaying fundamental with inharmonic upper partials.
partial d1.wav 1.10 1760.0 -3
partial d2.wav 0.55 4224.0 -12
partial d3.wav 0.30 6512.0 -18
sx -m "$work/d1.wav" "$work/d2.wav" "$work/d3.wav" "$work/ding.wav"
finish ding "$work/ding.wav"
