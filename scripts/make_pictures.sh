#!/usr/bin/env bash
# Draws the editor's pictures (grid, list icons, arrows, window icon) and the example
# library's pictures. The results are committed; run this only to change them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
res=$root/resources
ex=$root/examples/Examples
mkdir -p "$res" "$ex"

python3 "$root/scripts/make_grid.py" "$res/grid.bmp"

# Icons and arrows: PNG with an alpha channel, no time stamps, so rebuilding is byte-stable.
draw() { local size=$1 out=$2; shift 2; convert -size "$size" xc:none "$@" -strip \
    -define png:exclude-chunks=date,time "PNG32:$out"; }

draw 16x16 "$res/ico_symb.png" -fill '#3d7fd1' -stroke '#1d4f91' -draw 'roundrectangle 1,1 14,14 3,3' \
    -fill white -stroke none -draw 'circle 7.5,7.5 7.5,4'
draw 16x16 "$res/ico_symbR.png" -fill '#3d7fd1' -stroke '#1d4f91' -draw 'roundrectangle 1,1 14,14 3,3' \
    -fill white -stroke none -draw 'circle 6.5,6.5 6.5,3.5' \
    -fill '#f0a030' -stroke '#8a5a10' -draw 'circle 11.5,11.5 11.5,8.5'
draw 16x16 "$res/ico_image.png" -fill '#e8eef4' -stroke '#5a6a7a' -draw 'rectangle 1,2 14,13' \
    -fill '#4caf50' -stroke none -draw 'polygon 2,12 6,6 9,10 11,8 13,12' \
    -fill '#f0c030' -draw 'circle 11,5 11,3.8'
draw 16x16 "$res/ico_imageErr.png" -fill '#d9342b' -stroke '#8c1a14' -draw 'circle 7.5,7.5 7.5,1' \
    -stroke white -strokewidth 2 -draw 'line 5,5 10,10' -draw 'line 10,5 5,10'

arrow=(-fill '#b4bdcc' -stroke '#5c6470')
draw 20x20 "$res/arrow_up.png" "${arrow[@]}" -draw 'polygon 10,4 16,14 4,14'
draw 20x20 "$res/arrow_down.png" "${arrow[@]}" -draw 'polygon 10,15 16,5 4,5'
draw 20x20 "$res/arrow_left.png" "${arrow[@]}" -draw 'polygon 4,10 14,4 14,16'
draw 20x20 "$res/arrow_right.png" "${arrow[@]}" -draw 'polygon 15,10 5,4 5,16'

draw 64x64 "$res/glyphbook.png" -fill '#2b2e33' -stroke '#b4bdcc' -strokewidth 3 \
    -draw 'roundrectangle 4,4 59,59 10,10' -fill '#3d7fd1' -stroke none -draw 'circle 26,28 26,14' \
    -fill '#f0a030' -draw 'polygon 34,52 48,30 56,52' -stroke '#b4bdcc' -strokewidth 1 \
    -draw 'line 10,40 54,40' -draw 'line 32,10 32,54'

# The example library: pictures of our own in the four formats the editor loads.
draw 48x48 "$ex/pump.png" -fill '#9aa4b0' -stroke '#2b2e33' -strokewidth 2 -draw 'circle 24,24 24,6' \
    -fill '#5a6470' -draw 'polygon 16,14 38,24 16,34'
draw 48x48 "$ex/pump_run.png" -fill '#4caf50' -stroke '#1b5e20' -strokewidth 2 -draw 'circle 24,24 24,6' \
    -fill '#c8e6c9' -draw 'polygon 16,14 38,24 16,34'
convert -delay 50 -dispose background \
    \( -size 48x48 xc:none -fill '#e53935' -stroke '#7f0000' -strokewidth 2 -draw 'circle 24,24 24,6' \
       -fill '#ffcdd2' -draw 'polygon 16,14 38,24 16,34' \) \
    \( -size 48x48 xc:none -fill '#ffeb3b' -stroke '#7f0000' -strokewidth 2 -draw 'circle 24,24 24,6' \
       -fill '#e53935' -draw 'polygon 16,14 38,24 16,34' \) \
    -loop 0 "$ex/pump_alarm.gif"
convert -size 40x32 xc:'#dfe4ea' -fill '#607080' -stroke '#2b2e33' -draw 'polygon 4,6 20,16 4,26' \
    -draw 'polygon 36,6 20,16 36,26' -draw 'line 20,16 20,2' -draw 'rectangle 14,1 26,4' \
    -strip -quality 90 "$ex/valve.jpg"
convert -size 40x32 xc:'#dfe4ea' -fill '#43a047' -stroke '#1b5e20' -draw 'polygon 4,6 20,16 4,26' \
    -draw 'polygon 36,6 20,16 36,26' -draw 'line 20,16 20,2' -draw 'rectangle 14,1 26,4' \
    -strip -quality 90 "$ex/valve_open.jpg"
convert -size 40x60 xc:white -fill '#90a4ae' -stroke '#37474f' -strokewidth 2 \
    -draw 'roundrectangle 2,2 37,57 8,8' -fill '#4fc3f7' -stroke none -draw 'rectangle 4,30 35,55' \
    -strip -type TrueColor "BMP3:$ex/tank.bmp"
draw 40x40 "$ex/motor.png" -fill '#78909c' -stroke '#263238' -strokewidth 2 -draw 'rectangle 4,8 30,32' \
    -draw 'rectangle 30,17 38,23' -fill white -stroke none -pointsize 16 -draw 'text 11,26 "M"'
draw 40x40 "$ex/motor_run.png" -fill '#43a047' -stroke '#1b5e20' -strokewidth 2 -draw 'rectangle 4,8 30,32' \
    -draw 'rectangle 30,17 38,23' -fill white -stroke none -pointsize 16 -draw 'text 11,26 "M"'
draw 64x40 "$ex/frame.png" -fill none -stroke '#455a64' -strokewidth 3 -draw 'rectangle 2,2 61,37'
draw 24x24 "$ex/lamp.png" -fill '#bdbdbd' -stroke '#424242' -draw 'circle 12,12 12,2'
draw 24x24 "$ex/lamp_on.png" -fill '#ffee58' -stroke '#f57f17' -draw 'circle 12,12 12,2'
draw 24x24 "$ex/lamp_hover.png" -fill '#90caf9' -stroke '#0d47a1' -draw 'circle 12,12 12,2'
