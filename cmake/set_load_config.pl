#!/usr/bin/perl
# Points the load configuration directory of a PE32+ image at the structure
# _load_config_used, which GNU ld 2.40 links in but does not enter there, and
# recomputes the image's checksum.
# Usage: set_load_config.pl IMAGE LINKER-MAP
use strict;
use warnings;
no warnings "portable";  # 64-bit addresses from the map

my ($image, $map) = @ARGV;
die "usage: $0 IMAGE LINKER-MAP\n" unless defined $map;

open(my $map_file, '<', $map) or die "$map: $!\n";
my $address;
while (<$map_file>) {
    if (/^\s+0x([0-9a-f]+)\s+_load_config_used$/) {
        $address = hex($1);
        last;
    }
}
close($map_file);
die "$map: _load_config_used was not linked in\n" unless defined $address;

open(my $file, '+<:raw', $image) or die "$image: $!\n";
my $bytes = do { local $/; <$file> };

my $pe = unpack('V', substr($bytes, 0x3C, 4));
die "$image: not a PE image\n" unless substr($bytes, $pe, 4) eq "PE\0\0";
my $optional = $pe + 24;
die "$image: not PE32+\n" unless unpack('v', substr($bytes, $optional, 2)) == 0x20B;
my $image_base = unpack('Q<', substr($bytes, $optional + 24, 8));
my $rva = $address - $image_base;

# The directory's size is the structure's first field, read from the section that holds it.
my $section_count = unpack('v', substr($bytes, $pe + 6, 2));
my $sections = $optional + unpack('v', substr($bytes, $pe + 20, 2));
my $offset;
for my $index (0 .. $section_count - 1) {
    my ($start, $raw_size, $raw_start) = unpack('V3', substr($bytes, $sections + 40 * $index + 12, 12));
    if ($rva >= $start && $rva + 4 <= $start + $raw_size) {
        $offset = $raw_start + $rva - $start;
        last;
    }
}
die "$image: no section holds _load_config_used\n" unless defined $offset;
my $size = unpack('V', substr($bytes, $offset, 4));

my $load_config_entry = $optional + 112 + 10 * 8;
substr($bytes, $load_config_entry, 8) = pack('V2', $rva, $size);

# The checksum: 16-bit words summed with end-around carry, the field itself as 0, plus the length.
my $checksum_field = $optional + 64;
substr($bytes, $checksum_field, 4) = pack('V', 0);
$bytes .= "\0" if length($bytes) % 2;
my $sum = 0;
for my $word (unpack('v*', $bytes)) {
    $sum += $word;
    $sum = ($sum & 0xFFFF) + ($sum >> 16);
}
substr($bytes, $checksum_field, 4) = pack('V', $sum + -s $image);

seek($file, 0, 0) or die "$image: $!\n";
print $file substr($bytes, 0, -s $image) or die "$image: $!\n";
close($file) or die "$image: $!\n";
