#!/bin/sh
# Draws the lamp pictures beside the program and the pictures built into it, with
# ImageMagick, and the installed 48 px icon from the scalable one, with rsvg-convert
# (librsvg2-bin). Run from anywhere; writes into the source tree.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
pages="$root/data/画像データ"
images="$root/src/app/images"
panel='rgb(0,64,0)'

# lamp <file> <body colour> <rim colour> <highlight colour>: a round 16 x 16 lamp.
lamp() {
    convert -size 16x16 "xc:$panel" \
        -fill "$2" -stroke "$3" -strokewidth 1 -draw 'circle 7.5,7.5 7.5,1.5' \
        -fill "$4" -stroke none -draw 'circle 5.8,5.6 5.8,3.8' \
        +dither -colors 32 -depth 8 -strip "$1"
}
lamp "$pages/Green.gif" 'rgb(40,210,60)' 'rgb(0,110,20)' 'rgb(200,255,200)'
lamp "$pages/Red.gif" 'rgb(225,40,40)' 'rgb(120,0,0)' 'rgb(255,200,190)'
lamp "$images/lamp_green.png" 'rgb(40,210,60)' 'rgb(0,110,20)' 'rgb(200,255,200)'

# Program icon: a letter on a blue tile.
convert -size 32x32 xc:none \
    -fill 'rgb(40,90,170)' -draw 'roundrectangle 0,0 31,31 6,6' \
    -fill 'rgb(250,250,240)' -stroke 'rgb(20,50,110)' -draw 'rectangle 5,9 26,24' \
    -fill none -stroke 'rgb(20,50,110)' -draw 'polyline 5,9 15.5,18 26,9' \
    -draw 'line 5,24 13,16' -draw 'line 26,24 18,16' \
    -fill 'rgb(230,60,50)' -stroke none -draw 'circle 25,8 25,4' \
    -depth 8 -strip "PNG32:$images/icon.png"

# Title picture of the interval panel: only its top-left 193 x 20 pixels show, under the
# lamp and the yellow scrolling text, so the strip there is dark and the name sits right.
convert -size 397x65 gradient:'rgb(0,40,0)-rgb(0,20,0)' \
    -fill 'rgb(0,64,0)' -draw 'rectangle 0,0 396,18' \
    -fill 'rgb(200,170,60)' -draw 'rectangle 0,19 192,19' \
    -font DejaVu-Serif-Bold-Italic -pointsize 12 -fill 'rgb(120,170,110)' \
    -draw "text 136,14 'Brindle'" \
    -fill 'rgb(0,90,0)' -draw 'rectangle 0,21 396,64' \
    -depth 8 -strip "PNG24:$images/title.png"

# The installed menu icon at 48 x 48 pixels, from the scalable icon beside it.
rsvg-convert -w 48 -h 48 "$root/packaging/icons/brindle.svg" -o "$root/packaging/icons/brindle-48.png"
