#!/usr/bin/perl
# Prints, as JSON, the page setup Spreadsheet::ParseExcel reads from each sheet of a workbook
# (paper, orientation, scale, fit to pages, margins, centring, gridlines, printed comments) and
# the displayed text of every cell.
use strict;
use warnings;
use JSON::PP;
use Spreadsheet::ParseExcel;

my $parser = Spreadsheet::ParseExcel->new();
my $book = $parser->parse($ARGV[0]) or die "ParseExcel: " . $parser->error() . "\n";
my @sheets;
my $index = 0;
for my $sheet ($book->worksheets()) {
    my $printArea = $book->{PrintArea}[$index++] // [];
    my ($fitWide, $fitTall) = $sheet->get_fit_to_pages();
    my ($rowMin, $rowMax) = $sheet->row_range();
    my ($colMin, $colMax) = $sheet->col_range();
    my %texts;
    for my $r ($rowMin .. $rowMax) {
        for my $c ($colMin .. $colMax) {
            my $cell = $sheet->get_cell($r, $c) or next;
            $texts{"$r,$c"} = $cell->value();
        }
    }
    push @sheets, {
        name => $sheet->get_name(),
        paper => $sheet->get_paper(),
        portrait => $sheet->is_portrait() ? 1 : 0,
        scale => $sheet->get_print_scale(),
        fit => [$fitWide, $fitTall],
        pageFit => $sheet->{PageFit} ? 1 : 0,
        noPls => $sheet->{NoPls} ? 1 : 0,
        notes => $sheet->{Notes} ? 1 : 0,
        margins => [map { 0 + $_ } $sheet->get_margin_left(), $sheet->get_margin_right(), $sheet->get_margin_top(),
                    $sheet->get_margin_bottom(), $sheet->get_margin_header(), $sheet->get_margin_footer()],
        centred => [$sheet->is_centered_horizontally() ? 1 : 0, $sheet->is_centered_vertically() ? 1 : 0],
        gridlines => $sheet->is_print_gridlines() ? 1 : 0,
        printArea => $printArea,
        texts => \%texts,
    };
}
binmode(STDOUT, ":encoding(UTF-8)");
print JSON::PP->new->canonical->encode({ sheets => \@sheets });
