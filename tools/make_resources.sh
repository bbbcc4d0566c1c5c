#!/bin/sh
# Draws the program's own pictures into resources/: the image list (toolbar
# and file list icons, 16 x 16), the click animation's frames and the about
# window's background. Needs ImageMagick's convert; run it from anywhere.
set -eu
out="$(cd "$(dirname "$0")/.." && pwd)/resources"
mkdir -p "$out"
NAVY='rgb(8,8,83)'

icon() {  # icon <number> <draw arguments...>; also drawn twice as large for scaled screens (@2x)
    n=$1; shift
    convert -size 16x16 xc:none "$@" +set date:create +set date:modify -strip "PNG32:$out/image$n.png"
    convert -size 32x32 xc:none -affine 2,0,0,2,0,0 "$@" +set date:create +set date:modify -strip "PNG32:$out/image$n@2x.png"
}
pageicon() {  # a sheet with a folded corner, then <draw arguments...> on it
    n=$1; shift
    icon "$n" -fill white -stroke 'rgb(90,90,90)' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' \
              -fill 'rgb(200,200,200)' -draw 'polygon 10,1 10,4 13,4' "$@"
}

# The toolbar's six pictures: 1 connect, 2 stop, 4 refresh, 5 download, 6 upload, 8 connection setting.
icon 1 -fill 'rgb(40,160,60)' -stroke 'rgb(20,90,30)' -draw 'circle 8,8 8,1' \
       -fill white -stroke none -draw 'polygon 6,4 12,8 6,12'
icon 2 -fill 'rgb(210,40,40)' -stroke 'rgb(120,10,10)' -draw 'polygon 5,1 11,1 15,5 15,11 11,15 5,15 1,11 1,5' \
       -fill white -stroke none -draw 'rectangle 4,7 12,9'
icon 4 -fill none -stroke 'rgb(30,90,200)' -strokewidth 2 -draw 'arc 2,2 14,14 200,520' \
       -fill 'rgb(30,90,200)' -stroke none -draw 'polygon 1,3 7,3 4,8'
icon 5 -fill 'rgb(40,160,60)' -stroke 'rgb(20,90,30)' -draw 'polygon 5,1 11,1 11,8 14,8 8,15 2,8 5,8'
icon 6 -fill 'rgb(30,90,200)' -stroke 'rgb(10,40,120)' -draw 'polygon 8,1 14,8 11,8 11,15 5,15 5,8 2,8'
icon 8 -fill 'rgb(240,230,200)' -stroke 'rgb(100,80,40)' -draw 'rectangle 1,2 14,13' \
       -fill 'rgb(100,80,40)' -stroke none -draw 'rectangle 3,5 8,5' -draw 'rectangle 3,8 11,8' \
       -fill 'rgb(40,160,60)' -draw 'circle 12,11 12,9'

# The file list's pictures: 3 other file, 7 folder, 12 picture, 13 text, 14 control file, 15 web page, 17 sound.
pageicon 3
icon 7 -fill 'rgb(240,200,60)' -stroke 'rgb(150,110,20)' -draw 'polygon 1,3 6,3 7,5 14,5 14,13 1,13'
pageicon 12 -fill 'rgb(120,190,240)' -stroke none -draw 'rectangle 4,5 12,13' \
            -fill 'rgb(40,140,50)' -draw 'polygon 4,13 7,8 10,13' -fill 'rgb(250,210,40)' -draw 'circle 10,7 11,7'
pageicon 13 -stroke 'rgb(60,60,160)' -draw 'line 5,5 11,5' -draw 'line 5,7 11,7' \
            -draw 'line 5,9 11,9' -draw 'line 5,11 9,11'
pageicon 14 -fill 'rgb(150,60,180)' -stroke none -draw 'rectangle 5,6 11,12' \
            -fill white -draw 'rectangle 7,8 9,10'
icon 15 -fill 'rgb(60,140,230)' -stroke 'rgb(20,60,140)' -draw 'circle 8,8 8,1' -fill none \
        -draw 'ellipse 8,8 3,7 0,360' -draw 'line 1,8 15,8' -draw 'line 2,4 14,4' -draw 'line 2,12 14,12'
icon 17 -fill 'rgb(40,40,40)' -stroke 'rgb(40,40,40)' -draw 'ellipse 5,12 3,2 0,360' -draw 'ellipse 12,10 3,2 0,360' \
        -draw 'line 7,12 7,2' -draw 'line 14,10 14,1' -strokewidth 2 -draw 'line 7,2 14,1'

# The click animation: a ripple spreads from the click, the name is spelled out
# (frames 6 to 11 stay about a second each), a burst, and the name stays (frame 2).
# Drawn once as shown and once twice as large for scaled screens (@2x): every
# length below is in the frame's own pixels, times $s.
frame() {  # frame <number> <draw arguments...>
    n=$1; shift
    convert -size $((190 * s))x$((88 * s)) "xc:$NAVY" -font DejaVu-Sans-Bold "$@" \
            +set date:create +set date:modify -strip "$out/pyufr$n$suffix.gif"
}
frames() {  # frames <scale> <file name suffix>
    s=$1 suffix=$2
    cx=$((95 * s)) cy=$((44 * s)) big=$((30 * s)) line=$((2 * s))
    name="Corvexo"
    frame 2 -fill 'rgb(255,255,192)' -pointsize $big -gravity center -annotate +0-$((6 * s)) "$name" \
            -fill 'rgb(160,190,255)' -pointsize $((11 * s)) -annotate +0+$((24 * s)) 'FTP client'
    frame 3 -fill none -stroke 'rgb(255,255,192)' -strokewidth $line -draw "circle $cx,$cy $cx,$((36 * s))"
    frame 4 -fill none -stroke 'rgb(255,255,192)' -strokewidth $line -draw "circle $cx,$cy $cx,$((28 * s))"
    frame 5 -fill none -stroke 'rgb(200,200,160)' -strokewidth $line -draw "circle $cx,$cy $cx,$((18 * s))"
    i=6
    while [ $i -le 11 ]; do
        shown=$(printf '%s' "$name" | cut -c1-$((i - 4)))
        frame $i -fill none -stroke 'rgb(60,60,140)' -strokewidth $s -draw "circle $cx,$cy $cx,$(((14 - i) * s))" \
                 -stroke none -fill 'rgb(255,255,192)' -pointsize $big -gravity west -annotate +$((22 * s))-$((6 * s)) "$shown"
        i=$((i + 1))
    done
    i=12
    while [ $i -le 20 ]; do
        r=$(( (i - 11) * 5 ))
        frame $i -fill 'rgb(255,255,192)' -pointsize $big -gravity center -annotate +0-$((6 * s)) "$name" \
                 -fill none -stroke "rgb($((120 + i * 6)),$((120 + i * 6)),255)" -strokewidth $line \
                 -draw "ellipse $cx,$cy $(((60 + r) * s)),$(((20 + r / 2) * s)) 0,360"
        i=$((i + 1))
    done
}
frames 1 ""
frames 2 "@2x"

# The about window's background, 200 x 100: light, with a navy band behind the credit line
# (below both lines of the version text); again twice as large (@2x).
about() {  # about <scale> <file name suffix>
    s=$1
    convert -size $((200 * s))x$((100 * s)) gradient:'rgb(250,250,255)-rgb(200,210,235)' \
            -fill "$NAVY" -draw "rectangle 0,$((40 * s)) $((200 * s - 1)),$((58 * s - 1))" \
            -fill 'rgb(40,160,60)' -stroke 'rgb(20,90,30)' -strokewidth $s -draw "circle $((15 * s)),$((24 * s)) $((15 * s)),$((15 * s))" \
            -fill white -stroke none -draw "polygon $((12 * s)),$((19 * s)) $((21 * s)),$((24 * s)) $((12 * s)),$((29 * s))" \
            -fill 'rgb(30,90,200)' -draw "rectangle 0,$((96 * s)) $((200 * s - 1)),$((100 * s - 1))" \
            +set date:create +set date:modify -strip "$out/about$2.gif"
}
about 1 ""
about 2 "@2x"
