#!/usr/bin/env bash
#SBATCH --job-name=orkelund-film
#SBATCH --cpus-per-task=4
#SBATCH --time=08:00:00
#SBATCH --output=orkelund-film-%A_%a.log
#
# One film on a Slurm cluster: an array job with one task per frame range,
# then a job that assembles the AVI once every task has succeeded.
#
#   scripts/film-slurm.sh WORKDIR MOVIE [JOBS] [RENDERER OPTIONS...]
#
# Run it on a login node. WORKDIR (holding INI/Settings.ini with the film
# settings) and MOVIE must lie on a file system that every node sees; the
# frames, the AVI and the film movie land in WORKDIR/Output. JOBS (default
# 64) is the number of ranges: a few per node, as the later frames of a
# zoom cost more than the first. Further options (--preview, --movie2 FILE,
# --composition NAME, ...) are passed to every step. The renderer is
# ORKELUND_RENDER, default orkelund-render on the PATH. Change the #SBATCH
# lines above to your cluster's needs; --cpus-per-task becomes --threads.
#
# A task that failed or was cut off is simply submitted again, e.g.
#   sbatch --array=7 --export=ALL,ORK_FILM_STEP=range scripts/film-slurm.sh WORKDIR MOVIE
# then the assembly:
#   sbatch --export=ALL,ORK_FILM_STEP=assemble scripts/film-slurm.sh WORKDIR MOVIE
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 WORKDIR MOVIE [JOBS] [RENDERER OPTIONS...]" >&2
  exit 2
fi
work=$(realpath "$1")
movie=$(realpath "$2")
jobs=64
options=("${@:3}")
if [ ${#options[@]} -gt 0 ] && [[ ${options[0]} =~ ^[0-9]+$ ]]; then
  jobs=${options[0]}
  options=("${options[@]:1}")
fi
render=${ORKELUND_RENDER:-orkelund-render}
ranges="$work/film-ranges.txt"
common=(--film --movie "$movie" --workdir "$work" "${options[@]}")

case "${ORK_FILM_STEP:-submit}" in
  submit)
    # The plan also saves the film movie, once, before any task starts.
    "$render" "${common[@]}" --plan --jobs "$jobs" > "$ranges"
    count=$(($(wc -l < "$ranges") - 1))
    if [ "$count" -lt 1 ]; then
      echo "the film has no frames" >&2
      exit 1
    fi
    array=$(sbatch --parsable --array="1-$count" --export=ALL,ORK_FILM_STEP=range \
      "$0" "$work" "$movie" "$jobs" "${options[@]}")
    sbatch --parsable --dependency="afterok:${array%%;*}" --cpus-per-task=1 \
      --export=ALL,ORK_FILM_STEP=assemble "$0" "$work" "$movie" "$jobs" "${options[@]}"
    echo "submitted $count range tasks (job $array) and the assembly" >&2
    ;;
  range)
    range=$(sed -n "$((SLURM_ARRAY_TASK_ID + 1))p" "$ranges")
    [ -n "$range" ] || exit 0  # more tasks than ranges
    exec "$render" "${common[@]}" --frames "$range" --threads "${SLURM_CPUS_PER_TASK:-1}"
    ;;
  assemble)
    exec "$render" "${common[@]}" --assemble
    ;;
  *)
    echo "unknown ORK_FILM_STEP '$ORK_FILM_STEP'" >&2
    exit 2
    ;;
esac
