#pragma once
// An interface file of pane rows for widget tests and benchmarks: the window
// "Rows" with, for k = 1 to 4, a pop-up row (title `Ttle` 2000 + k, pop-up
// `Cntl` 2000 + k, picture `Bitm` 2000 + k) and a check-box row (`Cntl`
// 3000 + k, picture `Bitm` 3000 + k), and a pop-up `Cntl` 2005 without title.

inline const char* RowsInterface() {
  return R"UI(<?xml version="1.0"?>
<interface>
  <object class="GtkWindow" id="Rows">
    <property name="title">Rows</property>
    <property name="default-width">600</property>
    <property name="default-height">300</property>
    <child>
      <object class="GtkFixed">
        <child>
          <object class="GtkLabel" id="Rows:Ttle:2001"><property name="label">Title</property><property name="width-request">120</property></object>
          <packing><property name="x">10</property><property name="y">55</property></packing>
        </child>
        <child>
          <object class="GtkComboBoxText" id="Rows:Cntl:2001"><property name="width-request">150</property></object>
          <packing><property name="x">140</property><property name="y">55</property></packing>
        </child>
        <child>
          <object class="GtkDrawingArea" id="Rows:Bitm:2001"><property name="width-request">40</property><property name="height-request">40</property><property name="visible">False</property></object>
          <packing><property name="x">300</property><property name="y">55</property></packing>
        </child>
        <child>
          <object class="GtkCheckButton" id="Rows:Cntl:3001"><property name="label">Box</property><property name="width-request">120</property></object>
          <packing><property name="x">360</property><property name="y">55</property></packing>
        </child>
        <child>
          <object class="GtkDrawingArea" id="Rows:Bitm:3001"><property name="width-request">40</property><property name="height-request">40</property><property name="visible">False</property></object>
          <packing><property name="x">500</property><property name="y">55</property></packing>
        </child>
        <child>
          <object class="GtkLabel" id="Rows:Ttle:2002"><property name="label">Title</property><property name="width-request">120</property></object>
          <packing><property name="x">10</property><property name="y">100</property></packing>
        </child>
        <child>
          <object class="GtkComboBoxText" id="Rows:Cntl:2002"><property name="width-request">150</property></object>
          <packing><property name="x">140</property><property name="y">100</property></packing>
        </child>
        <child>
          <object class="GtkDrawingArea" id="Rows:Bitm:2002"><property name="width-request">40</property><property name="height-request">40</property><property name="visible">False</property></object>
          <packing><property name="x">300</property><property name="y">100</property></packing>
        </child>
        <child>
          <object class="GtkCheckButton" id="Rows:Cntl:3002"><property name="label">Box</property><property name="width-request">120</property></object>
          <packing><property name="x">360</property><property name="y">100</property></packing>
        </child>
        <child>
          <object class="GtkDrawingArea" id="Rows:Bitm:3002"><property name="width-request">40</property><property name="height-request">40</property><property name="visible">False</property></object>
          <packing><property name="x">500</property><property name="y">100</property></packing>
        </child>
        <child>
          <object class="GtkLabel" id="Rows:Ttle:2003"><property name="label">Title</property><property name="width-request">120</property></object>
          <packing><property name="x">10</property><property name="y">145</property></packing>
        </child>
        <child>
          <object class="GtkComboBoxText" id="Rows:Cntl:2003"><property name="width-request">150</property></object>
          <packing><property name="x">140</property><property name="y">145</property></packing>
        </child>
        <child>
          <object class="GtkDrawingArea" id="Rows:Bitm:2003"><property name="width-request">40</property><property name="height-request">40</property><property name="visible">False</property></object>
          <packing><property name="x">300</property><property name="y">145</property></packing>
        </child>
        <child>
          <object class="GtkCheckButton" id="Rows:Cntl:3003"><property name="label">Box</property><property name="width-request">120</property></object>
          <packing><property name="x">360</property><property name="y">145</property></packing>
        </child>
        <child>
          <object class="GtkDrawingArea" id="Rows:Bitm:3003"><property name="width-request">40</property><property name="height-request">40</property><property name="visible">False</property></object>
          <packing><property name="x">500</property><property name="y">145</property></packing>
        </child>
        <child>
          <object class="GtkLabel" id="Rows:Ttle:2004"><property name="label">Title</property><property name="width-request">120</property></object>
          <packing><property name="x">10</property><property name="y">190</property></packing>
        </child>
        <child>
          <object class="GtkComboBoxText" id="Rows:Cntl:2004"><property name="width-request">150</property></object>
          <packing><property name="x">140</property><property name="y">190</property></packing>
        </child>
        <child>
          <object class="GtkDrawingArea" id="Rows:Bitm:2004"><property name="width-request">40</property><property name="height-request">40</property><property name="visible">False</property></object>
          <packing><property name="x">300</property><property name="y">190</property></packing>
        </child>
        <child>
          <object class="GtkCheckButton" id="Rows:Cntl:3004"><property name="label">Box</property><property name="width-request">120</property></object>
          <packing><property name="x">360</property><property name="y">190</property></packing>
        </child>
        <child>
          <object class="GtkDrawingArea" id="Rows:Bitm:3004"><property name="width-request">40</property><property name="height-request">40</property><property name="visible">False</property></object>
          <packing><property name="x">500</property><property name="y">190</property></packing>
        </child>
        <child>
          <object class="GtkComboBoxText" id="Rows:Cntl:2005"><property name="width-request">150</property></object>
          <packing><property name="x">140</property><property name="y">240</property></packing>
        </child>
      </object>
    </child>
  </object>
</interface>
)UI";
}
