{
 "GLYPHBOOK": [
  {
   "ImageY": 24,
   "ImageX": 24,
   "Symbol": "true",
   "StateImages": [
    {
     "Image": "pump_run.png",
     "Value": "1"
    },{
     "Image": "pump_alarm.gif",
     "Value": "Alarm"
    }],
   "TextAlign": "Center",
   "Identifier": "pump",
   "Image": "pump.png",
   "TextY": 60,
   "TextX": 24,
   "NAME": {
    "sv": "Pump",
    "en": "Pump"
   }
  },{
   "ImageY": 16,
   "ImageX": 20,
   "Symbol": "true",
   "StateImages": [
    {
     "Image": "valve_open.jpg",
     "Value": "1"
    }],
   "TextAlign": "Right",
   "Identifier": "valve",
   "Image": "valve.jpg",
   "TextY": 20,
   "TextX": 44,
   "NAME": {
    "sv": "Ventil",
    "en": "Valve"
   }
  },{
   "ImageY": 60,
   "ImageX": 20,
   "Symbol": "true",
   "StateImages": [],
   "TextAlign": "Center",
   "Identifier": "tank",
   "Image": "tank.bmp",
   "TextY": -4,
   "TextX": 20,
   "NAME": {
    "sv": "Tank",
    "en": "Tank"
   }
  },{
   "ImageY": 20,
   "ImageX": 20,
   "Symbol": "true",
   "StateImages": [
    {
     "Image": "motor_run.png",
     "Value": "1"
    }],
   "TextAlign": "Left",
   "Identifier": "motor",
   "Image": "motor.png",
   "TextY": 48,
   "TextX": 0,
   "NAME": {
    "sv": "Motor",
    "en": "Motor"
   }
  },{
   "ImageY": 12,
   "ImageX": 12,
   "Symbol": "true",
   "StateImages": [
    {
     "Image": "lamp_on.png",
     "Value": "1"
    },{
     "Image": "lamp_hover.png",
     "Value": "MO"
    }],
   "TextAlign": "Right",
   "Identifier": "lamp",
   "Image": "lamp.png",
   "TextY": 16,
   "TextX": 28,
   "NAME": {
    "sv": "Lampa",
    "en": "Lamp"
   }
  },{
   "ImageY": 0,
   "ImageX": 0,
   "Symbol": "false",
   "Identifier": "frame",
   "Image": "frame.png",
   "NAME": {
    "sv": "Ram",
    "en": "Frame"
   }
  }]
}
