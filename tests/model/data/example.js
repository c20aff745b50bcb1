{
 "GLYPHBOOK": [
  {
   "ImageY": 20,
   "ImageX": 24,
   "Symbol": "true",
   "StateImages": [
    {
     "Image": "D:\\Art\\pump_run.png",
     "Value": "1"
    },{
     "Image": "D:\\Art\\pump_alarm.gif",
     "Value": "Alarm"
    }],
   "TextAlign": "Center",
   "Identifier": "pump",
   "Image": "D:\\Art\\pump.png",
   "TextY": -8,
   "TextX": 30,
   "NAME": {
    "sv": "pump",
    "en": "Pump"
   }
  },{
   "ImageY": 0,
   "ImageX": 0,
   "Symbol": "false",
   "Identifier": "frame",
   "Image": "D:\\Art\\frame.png",
   "NAME": {
    "sv": "Ram",
    "en": "Frame"
   }
  }]
}
