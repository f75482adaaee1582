#!/usr/bin/env bash
# start|stop a private PulseAudio server with a null sink, so that speech can be tested on a machine
# without a sound card. Does nothing where PulseAudio is not installed; the speech test then skips.
set -u
runtime="$2"
command -v pulseaudio > /dev/null || exit 0
export XDG_RUNTIME_DIR="$runtime"
case "$1" in
start)
    mkdir -p "$runtime" && chmod 700 "$runtime"
    pulseaudio --kill 2> /dev/null
    pulseaudio -D --exit-idle-time=-1 -n --load=module-null-sink --load=module-native-protocol-unix \
        --log-target=file:"$runtime/pulse.log" 2> /dev/null || true
    ;;
stop)
    pulseaudio --kill 2> /dev/null || true
    ;;
esac
exit 0
