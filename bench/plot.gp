# gnuplot's side of the benchmark: the same table, same size, 1.5-point lines, title and key.
# Called as: gnuplot -e "data='L.dat'; out='L-gnuplot.png'; n=20" plot.gp
set terminal pngcairo size 1382,648 linewidth 1.5
set output out
set title "Random walks"
set xlabel "step"
set ylabel "value"
set key outside right
set grid
plot for [i=2:n+1] data using 1:i with lines title sprintf("walk %d", i-1)
