#!/usr/bin/env bash
#SBATCH --job-name=orkelund-film
#SBATCH --time=08:00:00
#SBATCH --output=orkelund-film-%A_%a.log
#
# One film on a Slurm cluster: an array job with one task per frame range,
# then a job that assembles the AVI once every task has succeeded.
#
#   film-slurm.sh [--cpus N] [--partition NAME] WORKDIR MOVIE [JOBS] [RENDERER OPTIONS...]
#
# Run it on a login node. WORKDIR (holding INI/Settings.ini with the film
# settings) and MOVIE must lie on a file system that every node sees; the
# frames, the AVI and the film movie land in WORKDIR/Output. JOBS (default
# 64) is the number of ranges: a few per node, as the later frames of a
# zoom cost more than the first. Further options (--preview, --movie2 FILE,
# --composition NAME, ...) are passed to every step. The renderer is
# ORKELUND_RENDER, default orkelund-render on the PATH.
#
# Each range task gets --cpus N CPUs (its renderer computes with as many
# threads); the default is the CPU count of the smallest node of the
# partition (sinfo), and N must fit on that node. --partition NAME submits
# to that partition (default: the cluster's default one).
#
# A task that failed or was cut off is run again with the rerun step, which
# submits the tasks named and a new assembly that waits for them:
#   ORK_FILM_STEP=rerun ORK_FILM_TASKS=7,12 film-slurm.sh WORKDIR MOVIE [JOBS] [OPTIONS...]
# The first assembly waits for a task that failed and so never starts; the
# rerun step names it, and `scancel ID` removes it (Slurm may have removed
# it already, as its dependency can no longer be met).
set -euo pipefail

usage() {
  echo "usage: $0 [--cpus N] [--partition NAME] WORKDIR MOVIE [JOBS] [RENDERER OPTIONS...]" >&2
  exit 2
}

cpus=${ORK_FILM_CPUS:-}
partition=${ORK_FILM_PARTITION:-}
while [ $# -gt 0 ]; do
  case "$1" in
    --cpus) [ $# -ge 2 ] || usage; cpus=$2; shift 2 ;;
    --partition) [ $# -ge 2 ] || usage; partition=$2; shift 2 ;;
    *) break ;;
  esac
done
[ $# -ge 2 ] || usage
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
self=$(realpath "$0")
partitionArg=()
[ -n "$partition" ] && partitionArg=(--partition="$partition")

# The CPUs of the smallest node of the partition.
smallest_node() {
  sinfo -h -N -o %c "${partitionArg[@]}" | tr -d '+' | sort -n | head -n 1
}

# Checks --cpus against the partition's nodes (or takes the smallest
# node's count), on the login node before anything is submitted.
choose_cpus() {
  local node
  node=$(smallest_node)
  if ! [[ $node =~ ^[0-9]+$ ]]; then
    echo "cannot read the nodes' CPU counts with sinfo${partition:+ for partition $partition}" >&2
    exit 1
  fi
  if [ -z "$cpus" ]; then
    cpus=$node
  elif ! [[ $cpus =~ ^[0-9]+$ ]] || [ "$cpus" -lt 1 ] || [ "$cpus" -gt "$node" ]; then
    echo "--cpus $cpus does not fit the smallest node${partition:+ of partition $partition} ($node CPUs)" >&2
    exit 2
  fi
}

# Submits array tasks and an assembly that waits for them; prints the ids.
submit_tasks() {
  local array assembly
  array=$(sbatch --parsable "${partitionArg[@]}" --array="$1" --cpus-per-task="$cpus" \
    --export=ALL,ORK_FILM_STEP=range "$self" "$work" "$movie" "$jobs" "${options[@]}")
  assembly=$(sbatch --parsable "${partitionArg[@]}" --dependency="afterok:${array%%;*}" \
    --cpus-per-task=1 --export=ALL,ORK_FILM_STEP=assemble \
    "$self" "$work" "$movie" "$jobs" "${options[@]}")
  echo "${assembly%%;*}" > "$work/film-assembly.jobid"
  echo "submitted range tasks $1 (job ${array%%;*}, $cpus CPUs each) and the assembly (job ${assembly%%;*})" >&2
}

case "${ORK_FILM_STEP:-submit}" in
  submit)
    choose_cpus
    # The plan also saves the film movie, once, before any task starts.
    "$render" "${common[@]}" --plan --jobs "$jobs" > "$ranges"
    count=$(($(wc -l < "$ranges") - 1))
    if [ "$count" -lt 1 ]; then
      echo "the film has no frames" >&2
      exit 1
    fi
    submit_tasks "1-$count"
    ;;
  rerun)
    [ -n "${ORK_FILM_TASKS:-}" ] || { echo "ORK_FILM_TASKS=7,12 names the tasks to run again" >&2; exit 2; }
    [ -f "$ranges" ] || { echo "$ranges is missing: submit the film first" >&2; exit 1; }
    choose_cpus
    stale=$(cat "$work/film-assembly.jobid" 2>/dev/null || true)
    submit_tasks "$ORK_FILM_TASKS"
    if [ -n "$stale" ]; then
      echo "the earlier assembly (job $stale) waits for a failed task and never runs;" >&2
      echo "remove it with: scancel $stale" >&2
    fi
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
